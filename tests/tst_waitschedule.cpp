#include "generation/service/WaitPolicy.h"
#include "platform/SecureRandom.h"

#include <QtTest>

using namespace vornel;
using namespace std::chrono_literals;

class TestWaitSchedule : public QObject {
    Q_OBJECT
private slots:
    // With the random fraction in the middle the offset is zero, so the
    // nominal default schedule shows: 2, 4, 8, 16, then 30 six times, then none.
    void defaultScheduleNominal()
    {
        const auto start = MonotonicClock::now();
        WaitSchedule s(
            WaitPolicy{}, [] { return 0.5; }, start);
        QList<double> delays;
        while (auto d = s.nextDelay(start))
            delays.append(*d);
        QCOMPARE(delays, (QList<double>{2, 4, 8, 16, 30, 30, 30, 30, 30, 30}));
        QCOMPARE(s.pollsDone(), 10);
        QVERIFY(!s.nextDelay(start));
    }

    void jitterBounds_data()
    {
        QTest::addColumn<double>("fraction");
        QTest::addColumn<double>("first");
        QTest::addColumn<double>("fifth");
        QTest::newRow("low end") << 0.0 << 1.75 << 30.0; // 32 - 0.25 capped at 30
        QTest::newRow("high end") << 1.0 << 2.25 << 30.0;
    }
    void jitterBounds()
    {
        QFETCH(double, fraction);
        QFETCH(double, first);
        QFETCH(double, fifth);
        const auto start = MonotonicClock::now();
        WaitSchedule s(
            WaitPolicy{}, [fraction] { return fraction; }, start);
        QCOMPARE(*s.nextDelay(start), first);
        s.nextDelay(start);
        s.nextDelay(start);
        s.nextDelay(start);
        QCOMPARE(*s.nextDelay(start), fifth);
    }

    void zeroJitterAddsExactlyZero()
    {
        WaitPolicy p;
        p.jitterWidth = 0;
        p.baseDelay = 0.1;
        const auto start = MonotonicClock::now();
        WaitSchedule s(
            p, [] { return 1.0; }, start);
        QCOMPARE(*s.nextDelay(start), 0.1);
        QCOMPARE(*s.nextDelay(start), 0.2);
    }

    void negativeRawClampsToZeroAndUnlimitedCap()
    {
        WaitPolicy p;
        p.baseDelay = 0.1;
        p.jitterWidth = 10;
        p.maximumDelay.reset();
        p.maximumPolls.reset();
        p.deadline.reset();
        const auto start = MonotonicClock::now();
        WaitSchedule low(
            p, [] { return 0.0; }, start);
        QCOMPARE(*low.nextDelay(start), 0.0);
        WaitSchedule high(
            p, [] { return 0.5; }, start);
        for (int i = 0; i < 12; ++i)
            high.nextDelay(start);
        QCOMPARE(*high.nextDelay(start), 0.1 * std::pow(2.0, 12)); // no cap, no poll limit
        QVERIFY(!high.deadlineInstant());
    }

    void deadlineEndsSchedule()
    {
        const auto start = MonotonicClock::now();
        WaitSchedule s(
            WaitPolicy{}, [] { return 0.5; }, start);
        QCOMPARE(*s.deadlineInstant(), start + 300s);
        QVERIFY(s.nextDelay(start + 299s));
        QVERIFY(!s.nextDelay(start + 300s)); // "now is not before it"
        QCOMPARE(s.pollsDone(), 1);
    }

    void secureRandomSource()
    {
        for (int i = 0; i < 1000; ++i) {
            const double u = secureRandom::unitClosed();
            QVERIFY(u >= 0.0 && u <= 1.0);
            QCOMPARE(secureRandom::uniformBelow(1), 0u);
            QVERIFY(secureRandom::uniformBelow(3) < 3);
        }
        // Every index of a small list comes up.
        QSet<quint64> seen;
        for (int i = 0; i < 2000 && seen.size() < 23; ++i)
            seen.insert(secureRandom::uniformBelow(23));
        QCOMPARE(seen.size(), 23);
    }
};

QTEST_GUILESS_MAIN(TestWaitSchedule)
#include "tst_waitschedule.moc"
