#pragma once

#include "screens/ScreenState.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <functional>

namespace vornel {

// The content of one onboarding page (a record, despite its name).
struct StepView {
    Q_GADGET
    QML_VALUE_TYPE(stepView)
    Q_PROPERTY(QString image MEMBER image CONSTANT)
    Q_PROPERTY(QString heading MEMBER heading CONSTANT)
    Q_PROPERTY(QString text MEMBER text CONSTANT)
public:
    QString image;
    QString heading;
    QString text;
    friend bool operator==(const StepView&, const StepView&) = default;
};

// What one page shows: its one case, step.
struct OnboardingDataModel {
    Q_GADGET
    QML_VALUE_TYPE(onboardingDataModel)
    Q_PROPERTY(StepView step MEMBER step CONSTANT)
public:
    StepView step;
    // The shared page list, built once (thread-safe static initialisation).
    static const QList<OnboardingDataModel>& pages();
};

// The pager: page index, drag offset, dots and the Continue button.
class OnboardingViewPure : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(int curSlideIndex READ curSlideIndex NOTIFY curSlideIndexChanged)
    Q_PROPERTY(double slideGestureWidth READ slideGestureWidth NOTIFY slideGestureChanged)
    Q_PROPERTY(double distance MEMBER m_distance NOTIFY distanceChanged)
    Q_PROPERTY(int pageCount READ pageCount CONSTANT)
    Q_PROPERTY(QList<StepView> steps READ steps CONSTANT)
public:
    static constexpr double swipeThreshold = 50;

    explicit OnboardingViewPure(QObject* parent = nullptr);

    int curSlideIndex() const { return m_curSlideIndex; }
    double slideGestureWidth() const { return m_slideGestureWidth; }
    double slideGestureHeight() const { return m_slideGestureHeight; }
    int pageCount() const { return int(m_data.size()); }
    QList<StepView> steps() const;
    void setDistance(double d);

    // The horizontal offset of page i.
    Q_INVOKABLE double pageOffset(int i) const;
    // A page's dot is blue for the current page and those before it.
    Q_INVOKABLE bool dotIsBlue(int i) const { return !(m_curSlideIndex < i); }

    Q_INVOKABLE void continueTapped();
    Q_INVOKABLE void dragChanged(double width, double height);
    Q_INVOKABLE void dragEnded();

    // Called when the user finishes (set by the container).
    std::function<void()> doneFunction;

signals:
    void curSlideIndexChanged();
    void slideGestureChanged();
    void distanceChanged();

private:
    void setIndex(int index);
    void postReviewRequest();

    QList<OnboardingDataModel> m_data;
    int m_curSlideIndex = 0;
    double m_slideGestureWidth = 0;
    double m_slideGestureHeight = 0;
    double m_distance = 390;
};

// The container in the cover: the pager until done, then "Hello world".
class OnboardingContentView : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool onboardingDone READ onboardingDone NOTIFY onboardingDoneChanged)
    Q_PROPERTY(OnboardingViewPure* pager READ pager CONSTANT)
public:
    explicit OnboardingContentView(QObject* parent = nullptr);
    bool onboardingDone() const { return m_onboardingDone; }
    OnboardingViewPure* pager() { return &m_pager; }

signals:
    void onboardingDoneChanged();
    // The cover's presentation should end.
    void dismissRequested();

private:
    bool m_onboardingDone = false;
    OnboardingViewPure m_pager;
};

} // namespace vornel
