// What happens around a shown portrait: the history record, the save into
// the photo library, and the completion notification over D-Bus.
#include "FakeService.h"
#include "Fakes.h"
#include "generation/CompletionNotification.h"
#include "generation/HistoryManager.h"
#include "platform/Console.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDir>
#include <QProcess>
#include <QThread>
#include <QtTest>

using namespace vornel;
using namespace vornel::test;

namespace {

const QByteArray kPng =
    QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\1\0\0\0\1\x08\x02\0\0\0\x90wS\xde"
               "\0\0\0\x0cIDATx\x9c"
               "c\xf8\xcf\xc0\0\0\x03\x01\x01\0\xc9\xfe\x92\xef"
               "\0\0\0\0IEND\xae"
               "B`\x82",
               69);

QString picturesFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation))
        .filePath("Vornel");
}

QStringList savedPhotos()
{
    return QDir(picturesFolder()).entryList(QDir::Files, QDir::Name);
}

} // namespace

// A test notification server on the private session bus.
class NotificationServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Call {
        QString appName;
        QString summary;
        QString body;
        QVariantMap hints;
        int timeout = 0;
        qint64 atMs = 0;
    };
    QList<Call> calls;
    bool refuse = false;
    QElapsedTimer clock;

public slots:
    uint Notify(const QString& appName, uint, const QString&, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap& hints, int timeout)
    {
        if (refuse) {
            sendErrorReply(QDBusError::AccessDenied, "notifications are off");
            return 0;
        }
        calls.append({appName, summary, body, hints, timeout, clock.elapsed()});
        return uint(calls.size());
    }
};

class TestResultServices : public QObject {
    Q_OBJECT
    QProcess m_bus;
    QString m_busAddress;

private slots:
    void initTestCase()
    {
        // A private session bus for this test alone.
        m_bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY2(m_bus.waitForStarted(), "dbus-daemon is needed (Debian package dbus)");
        QTRY_VERIFY(m_bus.canReadLine());
        m_busAddress = QString::fromUtf8(m_bus.readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_busAddress.toUtf8());
        QVERIFY(QDBusConnection::sessionBus().isConnected());
    }
    void cleanupTestCase()
    {
        m_bus.kill();
        m_bus.waitForFinished();
    }

    void history_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no history yet") << QVariant() << QStringList{"https://a.test/1.png"}
                                        << QStringList{"https://a.test/1.png"};
        QTest::newRow("two calls, oldest first")
            << QVariant() << QStringList{"https://a.test/1.png", "https://a.test/2.png"}
            << QStringList{"https://a.test/1.png", "https://a.test/2.png"};
        QTest::newRow("same address twice")
            << QVariant() << QStringList{"https://a.test/1.png", "https://a.test/1.png"}
            << QStringList{"https://a.test/1.png", "https://a.test/1.png"};
        QTest::newRow("a string instead of an array")
            << QVariant("junk") << QStringList{"https://a.test/1.png"}
            << QStringList{"https://a.test/1.png"};
        QTest::newRow("an array with a number discards all")
            << QVariant(QVariantList{QVariantMap{{"imageURL", "https://old.test/x"}}, qint64(3)})
            << QStringList{"https://a.test/1.png"} << QStringList{"https://a.test/1.png"};
        QTest::newRow("earlier records are kept")
            << QVariant(QVariantList{QVariantMap{{"imageURL", "https://old.test/x"}}})
            << QStringList{"https://a.test/1.png"}
            << QStringList{"https://old.test/x", "https://a.test/1.png"};
    }
    void history()
    {
        QFETCH(QVariant, stored);
        QFETCH(QStringList, calls);
        QFETCH(QStringList, expected);
        TempDefaults defaults;
        if (stored.isValid())
            defaults.store->setValue("imageHistory", stored);
        QList<QDateTime> dates;
        for (int i = 0; i < calls.size(); ++i) {
            dates << QDateTime(QDate(2025, 6, 1), QTime(12, 0, i), Qt::UTC);
            HistoryManager::shared().addImage(QUrl(calls[i]), dates.last());
        }
        const QVariantList records = defaults.reopened()->value("imageHistory")->toList();
        QStringList urls;
        for (const QVariant& r : records)
            urls << r.toMap().value("imageURL").toString();
        QCOMPARE(urls, expected);
        const QVariantMap last = records.last().toMap();
        QCOMPARE(last.size(), 2);
        QCOMPARE(last.value("date").typeId(), int(QMetaType::QDateTime));
        QCOMPARE(last.value("date").toDateTime(), dates.last());
    }

    void save_data()
    {
        QTest::addColumn<QString>("path"); // on the loopback server, or a whole address
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<bool>("saved");
        QTest::newRow("portrait") << "/out.png" << qint64(1 << 20) << true;
        QTest::newRow("failed read") << "/missing.png" << qint64(1 << 20) << false;
        QTest::newRow("local file refused") << "file:///etc/hostname" << qint64(1 << 20) << false;
        QTest::newRow("other scheme refused")
            << "ftp://127.0.0.1/out.png" << qint64(1 << 20) << false;
        QTest::newRow("oversized body") << "/out.png" << qint64(16) << false;
        QTest::newRow("not an image") << "/text" << qint64(1 << 20) << false;
    }
    void save()
    {
        QFETCH(QString, path);
        QFETCH(qint64, limit);
        QFETCH(bool, saved);
        FakeService server([](const RecordedRequest& r) {
            FakeResponse f;
            if (r.path == "/out.png") {
                f.addHeader("Content-Type", "image/png");
                f.body = kPng;
            } else if (r.path == "/text") {
                f.body = "<html>not a picture</html>";
            } else {
                f.status = 404;
                f.reason = "Not Found";
            }
            return f;
        });
        QDir(picturesFolder()).removeRecursively();
        const QUrl url(path.startsWith('/') ? server.url(path) : path);
        std::atomic<int> runs{0};
        std::atomic<bool> offMainThread{false};
        QThread* mainThread = QThread::currentThread();
        DownloadLimits limits;
        limits.maximumBytes = limit;
        saveToPhotoLibrary(
            url,
            [&] {
                offMainThread = QThread::currentThread() != mainThread;
                ++runs;
            },
            limits);
        QCOMPARE(runs.load(), 0); // returns before any work
        QTRY_COMPARE(runs.load(), 1);
        QThreadPool::globalInstance()->waitForDone();
        QTest::qWait(50);
        QCOMPARE(runs.load(), 1);
        QVERIFY(offMainThread.load());
        const QStringList photos = savedPhotos();
        QCOMPARE(photos.size(), saved ? 1 : 0);
        if (saved) {
            QVERIFY(photos.first().startsWith("Vornel-"));
            QVERIFY(photos.first().endsWith(".png"));
            QFile f(QDir(picturesFolder()).filePath(photos.first()));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), kPng); // unchanged
        }
        for (const RecordedRequest& r : server.requests())
            QVERIFY(!r.hasHeader("Authorization"));
    }

    void severalSavesMakeSeveralPhotos()
    {
        FakeService server([](const RecordedRequest&) {
            FakeResponse f;
            f.body = kPng;
            return f;
        });
        QDir(picturesFolder()).removeRecursively();
        std::atomic<int> runs{0};
        for (int i = 0; i < 3; ++i)
            saveToPhotoLibrary(QUrl(server.url("/p.png")), [&] { ++runs; });
        QTRY_COMPARE(runs.load(), 3);
        QThreadPool::globalInstance()->waitForDone();
        QCOMPARE(savedPhotos().size(), 3);
    }

    void unwritablePicturesFolderIsSilent()
    {
        FakeService server([](const RecordedRequest&) {
            FakeResponse f;
            f.body = kPng;
            return f;
        });
        const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        QDir(pictures).removeRecursively();
        QDir().mkpath(QFileInfo(pictures).absolutePath());
        {
            QFile blocker(pictures); // a file where the folder should be
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        std::atomic<int> runs{0};
        saveToPhotoLibrary(QUrl(server.url("/p.png")), [&] { ++runs; });
        QTRY_COMPARE(runs.load(), 1);
        QThreadPool::globalInstance()->waitForDone();
        QFile::remove(pictures);
    }

    void notificationIsTheExactCall()
    {
        NotificationServer server;
        QDBusConnection serverBus = QDBusConnection::connectToBus(m_busAddress, "server");
        QVERIFY(serverBus.registerObject("/org/freedesktop/Notifications", &server,
                                         QDBusConnection::ExportAllSlots));
        QVERIFY(serverBus.registerService("org.freedesktop.Notifications"));
        server.clock.start();
        ConsoleCapture console;

        scheduleCompletionNotification();
        scheduleCompletionNotification();
        QTest::qWait(500);
        QVERIFY(server.calls.isEmpty()); // the trigger is one second
        QTRY_COMPARE(server.calls.size(), 2);
        QTest::qWait(1500);
        QCOMPARE(server.calls.size(), 2); // not repeating

        for (const auto& call : server.calls) {
            QVERIFY(call.atMs >= 950);
            QCOMPARE(call.appName, "AI Vornel");
            QCOMPARE(call.summary, "Image Generated");
            QCOMPARE(
                call.body,
                "Your profile picture has been successfully generated. Check it out in the app!");
            QCOMPARE(call.hints.value("sound-name").toString(), "message-new-instant");
            QCOMPARE(call.timeout, -1);
            QCOMPARE(call.hints.value("x-vornel-identifier").toString().size(), 36);
        }
        QVERIFY(server.calls[0].hints.value("x-vornel-identifier") !=
                server.calls[1].hints.value("x-vornel-identifier"));
        QVERIFY(console.lines().isEmpty());

        server.refuse = true;
        scheduleCompletionNotification();
        QTRY_COMPARE_WITH_TIMEOUT(console.lines().size(), 1, 5000);
        QCOMPARE(console.lines().first(),
                 "Error scheduling notification: org.freedesktop.DBus.Error.AccessDenied: "
                 "notifications are off");

        serverBus.unregisterService("org.freedesktop.Notifications");
        serverBus.unregisterObject("/org/freedesktop/Notifications");
        QDBusConnection::disconnectFromBus("server");
    }

    void noNotificationServer()
    {
        QTRY_VERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(
            "org.freedesktop.Notifications"));
        ConsoleCapture console;
        scheduleCompletionNotification();
        QTRY_COMPARE_WITH_TIMEOUT(console.lines().size(), 1, 5000);
        QVERIFY2(console.lines().first().startsWith(
                     "Error scheduling notification: org.freedesktop.DBus.Error.ServiceUnknown"),
                 qPrintable(console.lines().first()));
        QTest::qWait(300);
        QCOMPARE(console.lines().size(), 1);
    }

    void requestIsFresh()
    {
        const NotificationRequest a = completionNotificationRequest();
        const NotificationRequest b = completionNotificationRequest();
        QCOMPARE(a.identifier.size(), 36);
        QVERIFY(a.identifier != b.identifier);
        QCOMPARE(a.triggerSeconds, 1.0);
        QVERIFY(!a.repeats);
        QVERIFY(a.defaultSound);
    }
};

int main(int argc, char** argv)
{
    // The user's folders of this run live in a temporary home.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/.local/share").toUtf8());
    QCoreApplication app(argc, argv);
    TestResultServices test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_resultservices.moc"
