#pragma once

#include <chrono>
#include <functional>
#include <optional>

namespace vornel {

// How awaitCompletion polls a prediction until it ends.
struct WaitPolicy {
    double baseDelay = 2.0; // seconds, first nominal delay
    double growthFactor = 2.0;
    double jitterWidth = 0.5;                  // seconds; offset drawn from [-width/2, +width/2]
    std::optional<double> deadline = 300.0;    // seconds after the wait starts
    std::optional<double> maximumDelay = 30.0; // cap after jitter
    std::optional<int> maximumPolls = 10;
};

using MonotonicClock = std::chrono::steady_clock;

// The state of one wait: polls done so far and when it must give up.
class WaitSchedule {
public:
    // A source of uniform fractions in the closed interval [0, 1].
    using RandomSource = std::function<double()>;

    explicit WaitSchedule(WaitPolicy policy, RandomSource random = {},
                          MonotonicClock::time_point start = MonotonicClock::now());

    // The next delay in seconds, or nothing when the poll limit is reached or
    // the deadline has passed at `now`.
    std::optional<double> nextDelay(MonotonicClock::time_point now = MonotonicClock::now());

    int pollsDone() const { return m_pollsDone; }
    const WaitPolicy& policy() const { return m_policy; }
    std::optional<MonotonicClock::time_point> deadlineInstant() const { return m_deadline; }

private:
    int m_pollsDone = 0;
    WaitPolicy m_policy;
    RandomSource m_random;
    std::optional<MonotonicClock::time_point> m_deadline;
};

} // namespace vornel
