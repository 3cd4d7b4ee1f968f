#include "screens/Onboarding.h"

#include "platform/PlatformServices.h"

#include <QCoreApplication>
#include <QTimer>

namespace vornel {

const QList<OnboardingDataModel>& OnboardingDataModel::pages()
{
    static const QList<OnboardingDataModel> list{
        {{QStringLiteral("ic_onboarding_1"), QStringLiteral("Your Virtual Makeover Artist"),
          QStringLiteral("Transform your selfies with precision and style")}},
        {{QStringLiteral("ic_onboarding_2"), QStringLiteral("Elevate Your Selfies"),
          QStringLiteral(
              "Experience the magic of professional photo enhancements in your pocket")}},
        {{QStringLiteral("ic_onboarding_3"), QStringLiteral("Redefine Your Selfies"),
          QStringLiteral("Unlock the potential of your selfies with AI-powered photo perfection")}},
    };
    return list;
}

OnboardingViewPure::OnboardingViewPure(QObject* parent)
    : QObject(parent), m_data(OnboardingDataModel::pages())
{
}

QList<StepView> OnboardingViewPure::steps() const
{
    QList<StepView> out;
    for (const OnboardingDataModel& m : m_data)
        out.append(m.step);
    return out;
}

void OnboardingViewPure::setDistance(double d)
{
    if (m_distance == d)
        return;
    m_distance = d;
    emit distanceChanged();
}

double OnboardingViewPure::pageOffset(int i) const
{
    return m_distance * i + m_slideGestureWidth - m_distance * m_curSlideIndex;
}

void OnboardingViewPure::setIndex(int index)
{
    if (index < 0 || index > pageCount() - 1 || index == m_curSlideIndex)
        return;
    m_curSlideIndex = index;
    emit curSlideIndexChanged();
}

void OnboardingViewPure::postReviewRequest()
{
    // Runs after the current tap has been handled.
    QTimer::singleShot(0, QCoreApplication::instance(), [] { platform().scenes->requestReview(); });
}

void OnboardingViewPure::continueTapped()
{
    if (pageCount() == m_curSlideIndex + 1) {
        postReviewRequest();
        if (doneFunction)
            doneFunction();
    } else if (m_curSlideIndex < pageCount() - 1) {
        setIndex(m_curSlideIndex + 1);
        if (m_curSlideIndex == 2)
            postReviewRequest();
    }
}

void OnboardingViewPure::dragChanged(double width, double height)
{
    m_slideGestureWidth = width;
    m_slideGestureHeight = height;
    emit slideGestureChanged();
}

void OnboardingViewPure::dragEnded()
{
    if (m_slideGestureWidth < -swipeThreshold && m_curSlideIndex < pageCount() - 1)
        setIndex(m_curSlideIndex + 1);
    if (m_slideGestureWidth > swipeThreshold && m_curSlideIndex > 0)
        setIndex(m_curSlideIndex - 1);
    dragChanged(0, 0);
}

OnboardingContentView::OnboardingContentView(QObject* parent) : QObject(parent)
{
    m_pager.doneFunction = [this] {
        m_onboardingDone = true;
        emit onboardingDoneChanged();
        emit dismissRequested();
    };
}

} // namespace vornel
