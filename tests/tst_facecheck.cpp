#include "generation/FaceCheck.h"
#include "platform/Console.h"

#include <QPainter>
#include <QSemaphore>
#include <QThread>
#include <QtTest>

using namespace vornel;
Q_DECLARE_METATYPE(DetectionResult)
Q_DECLARE_METATYPE(FaceCheckOutcome)

namespace {

QList<Observation> faces(int n)
{
    return QList<Observation>(n, Observation{Observation::Kind::face, QRectF(0.1, 0.1, 0.2, 0.2)});
}

QImage photo(const char* name)
{
    return QImage(QStringLiteral(VORNEL_TEST_PHOTOS "/") + QLatin1StringView(name));
}

// n copies of a photo side by side, with a white gap between them.
QImage group(const QImage& one, int n)
{
    const int gap = 64;
    QImage out(one.width() * n + gap * (n - 1), one.height(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    for (int i = 0; i < n; ++i)
        p.drawImage(i * (one.width() + gap), 0, one);
    return out;
}

struct Target : FaceCheckTarget {
    QStringList log;
    QString title;
    bool popup = false;
    bool upload = false;
    void setFailedImagePickText(const QString& t) override
    {
        title = t;
        log << "title:" + t;
    }
    void toggleShowFailedImagePickPopupBottomView() override
    {
        popup = !popup;
        log << QStringLiteral("popup:%1").arg(popup);
    }
    void toggleShowUploadView() override
    {
        upload = !upload;
        log << QStringLiteral("upload:%1").arg(upload);
    }
};

// A detector that blocks until released, recording the thread it ran on.
struct GatedDetector : FaceDetector {
    mutable QSemaphore gate;
    mutable QThread* ranOn = nullptr;
    int count;
    explicit GatedDetector(int n) : count(n) {}
    DetectionResult detect(const QImage&) const override
    {
        ranOn = QThread::currentThread();
        gate.acquire();
        return {faces(count), std::nullopt};
    }
};

} // namespace

class TestFaceCheck : public QObject {
    Q_OBJECT
private slots:
    void outcomes_data()
    {
        QTest::addColumn<DetectionResult>("result");
        QTest::addColumn<FaceCheckOutcome>("outcome");
        QTest::addColumn<QStringList>("console");
        QTest::newRow("one face") << DetectionResult{faces(1), {}} << FaceCheckOutcome::accepted()
                                  << QStringList{};
        QTest::newRow("empty list")
            << DetectionResult{faces(0), {}} << FaceCheckOutcome::rejected("No face detected")
            << QStringList{};
        QTest::newRow("two faces")
            << DetectionResult{faces(2), {}} << FaceCheckOutcome::rejected("2 faces detected")
            << QStringList{};
        QTest::newRow("five faces")
            << DetectionResult{faces(5), {}} << FaceCheckOutcome::rejected("5 faces detected")
            << QStringList{};
        QTest::newRow("detector error")
            << DetectionResult{{}, QStringLiteral("out of memory")}
            << FaceCheckOutcome::rejected("Problem processing image")
            << QStringList{"Failed to perform image request: out of memory"};
        QTest::newRow("no list at all")
            << DetectionResult{} << FaceCheckOutcome::ignored() << QStringList{};
        QList<Observation> mixed = faces(1);
        mixed.append({Observation::Kind::other, QRectF()});
        QTest::newRow("a non-face entry")
            << DetectionResult{mixed, {}} << FaceCheckOutcome::ignored() << QStringList{};
    }
    void outcomes()
    {
        QFETCH(DetectionResult, result);
        QFETCH(FaceCheckOutcome, outcome);
        QFETCH(QStringList, console);
        ConsoleCapture capture;
        QCOMPARE(faceCheckOutcome(result), outcome);
        QCOMPARE(capture.lines(), console);
    }

    void applyingOutcomes()
    {
        Target t;
        applyFaceCheckOutcome(FaceCheckOutcome::rejected("No face detected"), t);
        QCOMPARE(t.log, (QStringList{"title:No face detected", "popup:1"}));
        // A rejection while the popup is open closes it; the title still changes.
        applyFaceCheckOutcome(FaceCheckOutcome::rejected("3 faces detected"), t);
        QCOMPARE(t.popup, false);
        QCOMPARE(t.title, "3 faces detected");
        applyFaceCheckOutcome(FaceCheckOutcome::ignored(), t);
        applyFaceCheckOutcome(FaceCheckOutcome::accepted(), t);
        QCOMPARE(t.log.size(), 5);
        QCOMPARE(t.log.last(), "upload:1");
    }

    // detectFaces returns before the detector runs, runs it off the UI
    // thread, and applies outcomes on the UI thread in completion order.
    void detectionOffTheUiThread()
    {
        auto first = std::make_shared<GatedDetector>(2);
        auto second = std::make_shared<GatedDetector>(1);
        QObject context;
        QStringList applied;
        QList<QThread*> appliedOn;
        auto apply = [&](const FaceCheckOutcome& o) {
            applied << (o.kind == FaceCheckOutcome::Kind::accepted ? QStringLiteral("accepted")
                                                                   : o.title);
            appliedOn << QThread::currentThread();
        };
        const QImage image(8, 8, QImage::Format_RGB32);
        detectFaces(image, &context, apply, first);
        detectFaces(image, &context, apply, second);
        QVERIFY(applied.isEmpty());
        QTRY_VERIFY(first->ranOn && second->ranOn);
        QVERIFY(first->ranOn != QThread::currentThread());
        second->gate.release(); // the second finishes first
        QTRY_COMPARE(applied, QStringList{"accepted"});
        first->gate.release();
        QTRY_COMPARE(applied, (QStringList{"accepted", "2 faces detected"}));
        QCOMPARE(appliedOn, (QList<QThread*>{QThread::currentThread(), QThread::currentThread()}));
    }

    void imageWithoutBitmap()
    {
        QObject context;
        std::optional<FaceCheckOutcome> outcome;
        ConsoleCapture capture;
        detectFaces(QImage(), &context, [&](const FaceCheckOutcome& o) { outcome = o; });
        QTRY_VERIFY(outcome);
        QCOMPARE(*outcome, FaceCheckOutcome::rejected("Problem processing image"));
        QCOMPARE(capture.lines(),
                 QStringList{"Failed to perform image request: The image has no bitmap."});
    }

    void missingModelIsADetectionFailure()
    {
        CascadeFaceDetector detector(QStringLiteral("/nonexistent/cascade.xml"));
        const DetectionResult r = detector.detect(QImage(16, 16, QImage::Format_RGB32));
        QVERIFY(r.error);
        QVERIFY(r.error->contains("could not be loaded"));
    }

    // The real detector on real photos with a known number of faces.
    void realPhotos_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<int>("expected");
        const QImage astronaut = photo("astronaut.png");
        QTest::newRow("one face") << astronaut << 1;
        QTest::newRow("one face, 1080x1080")
            << astronaut.scaled(1080, 1080, Qt::IgnoreAspectRatio, Qt::SmoothTransformation) << 1;
        QTest::newRow("one face, 4032x3024")
            << astronaut
                   .scaled(4032, 3024, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation)
                   .copy(0, 0, 4032, 3024)
            << 1;
        QTest::newRow("two faces") << group(astronaut, 2) << 2;
        QTest::newRow("three faces") << group(astronaut, 3) << 3;
        QTest::newRow("no face") << photo("coffee.png") << 0;
        QTest::newRow("a cat") << photo("chelsea.png") << 0;
        QTest::newRow("a mandrill") << photo("baboon.jpg") << 0;
        QTest::newRow("a painting") << photo("starry_night.jpg") << 0;
    }
    void realPhotos()
    {
        QFETCH(QImage, image);
        QFETCH(int, expected);
        QVERIFY2(!image.isNull(), "run tools/fetch-test-photos.sh");
        const DetectionResult r = FaceDetector::standard()->detect(image);
        QVERIFY(!r.error);
        QCOMPARE(r.results->size(), expected);
    }
};

QTEST_MAIN(TestFaceCheck)
#include "tst_facecheck.moc"
