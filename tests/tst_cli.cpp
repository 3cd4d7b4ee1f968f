#include "FakeService.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace vornel::test;

namespace {

const QByteArray kPortrait = QByteArray("\x89PNG\r\n\x1a\n-portrait-bytes-", 24);

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_photo;

    Run run(const QStringList& args, const QString& finalStatus, const QByteArray& outputJson,
            FakeService* serviceOut = nullptr)
    {
        FakeService local;
        FakeService& service = serviceOut ? *serviceOut : local;
        const QByteArray output = QByteArray(outputJson).replace("BASE", service.url().toUtf8());
        service.setHandler([&](const RecordedRequest& r) {
            if (r.path.startsWith("/v1/models/"))
                return FakeResponse::json(modelJson(true));
            if (r.path == "/v1/predictions")
                return FakeResponse::json(predictionJson("p42", "starting"), 201);
            if (r.path == "/img/out.png") {
                FakeResponse f;
                f.addHeader("Content-Type", "image/png");
                f.body = kPortrait;
                return f;
            }
            if (r.path.startsWith("/img/"))
                return FakeResponse::json("{}", 404);
            return FakeResponse::json(predictionJson("p42", finalStatus, output));
        });
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("REPLICATE_API_TOKEN", "env-token");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_dir.path());
        process.start(VORNEL_CLI_PATH,
                      QStringList{"--service-url", service.url("/v1/"), "--poll-delay", "0.01"} +
                          args);
        // The fake service lives in this process: keep its event loop running.
        QElapsedTimer timer;
        timer.start();
        while (process.state() != QProcess::NotRunning && timer.elapsed() < 60000)
            QTest::qWait(20);
        process.waitForFinished(1000);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_photo = QStringLiteral(VORNEL_TEST_PHOTOS "/astronaut.png");
        QVERIFY2(QFile::exists(m_photo), "run tools/fetch-test-photos.sh");
    }

    void generatesAndSaves()
    {
        FakeService service;
        const QString out = m_dir.filePath("portrait.png");
        const Run r = run({"generate", m_photo, "--set", "woman", "--out", out}, "succeeded",
                          "\"BASE/img/out.png\"", &service);
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0),
                 "Prediction successful. Image URL: " + service.url("/img/out.png"));
        QCOMPARE(lines.value(1), out);
        QFile saved(out);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), kPortrait);
        QCOMPARE(service.requests().first().header("Authorization"), "Bearer env-token");
        // The portrait host gets no token.
        QVERIFY(!service.requests().last().hasHeader("Authorization"));
    }

    void defaultOutputName()
    {
        const Run r = run({"generate", m_photo}, "succeeded", "\"BASE/img/out.png\"");
        QCOMPARE(r.exitCode, 0);
        QVERIFY(QFile::exists(m_dir.filePath("vornel-p42.png")));
    }

    void exitStatuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("failed") << QStringList{"generate", "PHOTO"} << "failed"
                                << QByteArray("null") << 1 << "The prediction failed";
        QTest::newRow("canceled") << QStringList{"generate", "PHOTO"} << "canceled"
                                  << QByteArray("null") << 1 << "canceled";
        QTest::newRow("no output") << QStringList{"generate", "PHOTO"} << "succeeded"
                                   << QByteArray("null") << 1 << "no output";
        QTest::newRow("local file output")
            << QStringList{"generate", "PHOTO"} << "succeeded"
            << QByteArray("\"file:///etc/passwd\"") << 3 << "not http or https";
        QTest::newRow("download 404")
            << QStringList{"generate", "PHOTO"} << "succeeded"
            << QByteArray("\"BASE/img/missing.png\"") << 3 << "Cannot download";
        QTest::newRow("unreadable photo")
            << QStringList{"generate", "/nonexistent.png"} << "succeeded" << QByteArray("null") << 2
            << "Cannot read the photo";
        QTest::newRow("bad set") << QStringList{"generate", "PHOTO", "--set", "dog"} << "succeeded"
                                 << QByteArray("null") << 2 << "--set takes man or woman";
        QTest::newRow("photo without a face")
            << QStringList{"generate", VORNEL_TEST_PHOTOS "/coffee.png"} << "succeeded"
            << QByteArray("null") << 1 << "No face detected";
        QTest::newRow("unknown command")
            << QStringList{"paint"} << "succeeded" << QByteArray("null") << 2 << "Unknown command";
    }
    void exitStatuses()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, status);
        QFETCH(QByteArray, output);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        args.replaceInStrings("PHOTO", m_photo);
        const Run r = run(args, status, output);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(!r.out.contains("env-token") && !r.err.contains("env-token"));
    }

    void checkFace_data()
    {
        QTest::addColumn<QString>("photo");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::newRow("one face") << "astronaut.png" << 0 << "accepted\n";
        QTest::newRow("no face") << "coffee.png" << 1 << "No face detected\n";
        QTest::newRow("not a picture") << "../CMakeCache.txt" << 2 << "";
        QTest::newRow("missing") << "nothing-here.png" << 2 << "";
    }
    void checkFace()
    {
        QFETCH(QString, photo);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        const Run r = run({"check-face", QStringLiteral(VORNEL_TEST_PHOTOS "/") + photo},
                          "succeeded", "null");
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.out, out);
    }

    void helpDocumentsEverything()
    {
        const Run r = run({"--help"}, "succeeded", "null");
        QCOMPARE(r.exitCode, 0);
        for (const char* word :
             {"generate", "--set", "--out", "--service-url", "REPLICATE_API_TOKEN", "Exit status"})
            QVERIFY2(r.out.contains(word), word);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
