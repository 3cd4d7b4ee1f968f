#include "generation/service/WaitPolicy.h"

#include "platform/SecureRandom.h"

#include <algorithm>
#include <cmath>

namespace vornel {

WaitSchedule::WaitSchedule(WaitPolicy policy, RandomSource random, MonotonicClock::time_point start)
    : m_policy(policy),
      m_random(random ? std::move(random) : RandomSource(&secureRandom::unitClosed))
{
    if (m_policy.deadline) {
        m_deadline = start + std::chrono::duration_cast<MonotonicClock::duration>(
                                 std::chrono::duration<double>(*m_policy.deadline));
    }
}

std::optional<double> WaitSchedule::nextDelay(MonotonicClock::time_point now)
{
    if (m_policy.maximumPolls && m_pollsDone >= *m_policy.maximumPolls)
        return std::nullopt;
    if (m_deadline && !(now < *m_deadline))
        return std::nullopt;
    const double nominal = m_policy.baseDelay * std::pow(m_policy.growthFactor, m_pollsDone);
    double offset = 0.0;
    if (m_policy.jitterWidth != 0.0)
        offset = -m_policy.jitterWidth / 2 + m_random() * m_policy.jitterWidth;
    double delay = std::max(0.0, nominal + offset);
    if (m_policy.maximumDelay)
        delay = std::min(*m_policy.maximumDelay, delay);
    ++m_pollsDone;
    return delay;
}

} // namespace vornel
