#include "Fakes.h"
#include "platform/UserDefaults.h"

#include <QDateTime>
#include <QProcess>
#include <QRandomGenerator>
#include <QtConcurrent>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace vornel;
using namespace vornel::test;

namespace {

// The child process of the crash test: writes complete states forever. Each
// state holds a counter and a blob derived from it, so a torn or mixed file
// would show.
[[noreturn]] void runWriter(const QString& path)
{
    UserDefaults store(path);
    for (qint64 i = 1;; ++i) {
        QVariantMap state{{"counter", i}, {"blob", QString(2000, QChar(u'a' + int(i % 26)))}};
        store.setValue("state", state);
    }
}

} // namespace

class TestUserDefaults : public QObject {
    Q_OBJECT
private slots:
    void typesSurviveRestart_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("type");
        QTest::newRow("string") << QVariant(QStringLiteral("Dark")) << int(QMetaType::QString);
        QTest::newRow("string that looks like a Boolean")
            << QVariant(QStringLiteral("true")) << int(QMetaType::QString);
        QTest::newRow("true") << QVariant(true) << int(QMetaType::Bool);
        QTest::newRow("false") << QVariant(false) << int(QMetaType::Bool);
        QTest::newRow("64-bit integer")
            << QVariant(qint64(9007199254740993LL)) << int(QMetaType::LongLong);
        QTest::newRow("negative integer") << QVariant(qint64(-3)) << int(QMetaType::LongLong);
        QTest::newRow("double") << QVariant(0.1) << int(QMetaType::Double);
        QTest::newRow("date with ms")
            << QVariant(QDateTime(QDate(2025, 3, 4), QTime(5, 6, 7, 890), Qt::UTC))
            << int(QMetaType::QDateTime);
        QTest::newRow("array of dictionaries")
            << QVariant(QVariantList{
                   QVariantMap{{"imageURL", "https://a.test/x.png"},
                               {"date", QDateTime(QDate(2025, 1, 1), QTime(0, 0), Qt::UTC)}},
                   QVariantMap{{"n", qint64(1)}, {"b", false}}})
            << int(QMetaType::QVariantList);
        QTest::newRow("empty dictionary") << QVariant(QVariantMap{}) << int(QMetaType::QVariantMap);
    }
    void typesSurviveRestart()
    {
        QFETCH(QVariant, value);
        QFETCH(int, type);
        TempDefaults defaults;
        QVERIFY(defaults.store->setValue("k", value));
        const auto reopened = defaults.reopened();
        for (UserDefaults* store : {defaults.store.get(), reopened.get()}) {
            const std::optional<QVariant> back = store->value("k");
            QVERIFY(back);
            QCOMPARE(back->typeId(), type);
            QCOMPARE(*back, value);
        }
    }

    void absentAndRemoved()
    {
        TempDefaults defaults;
        QVERIFY(!defaults.store->value("missing"));
        QVERIFY(!QFile::exists(defaults.store->filePath())); // nothing written yet
        defaults.store->setValue("k", 1);
        QVERIFY(defaults.store->remove("k"));
        QVERIFY(!defaults.reopened()->value("k"));
    }

    void unstorableValuesAreRefused()
    {
        TempDefaults defaults;
        QVERIFY(!defaults.store->setValue("k", QVariant(QSize(1, 2))));
        QVERIFY(!defaults.store->setValue("k", QVariant(QVariantList{QVariant(QPoint())})));
        QVERIFY(!defaults.store->value("k"));
    }

    void filesAreForTheUserAlone()
    {
        TempDefaults defaults;
        defaults.store->setValue("k", true);
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(defaults.store->filePath()).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0600u);
    }

    void unreadableFileIsMovedAside_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("truncated")
            << QByteArray("{\"format\":\"vornel-defaults\",\"version\":1,\"values\":{\"k\":{\"bo");
        QTest::newRow("garbage") << QByteArray("\x00\xff\x13garbage", 10);
        QTest::newRow("wrong format")
            << QByteArray("{\"format\":\"other\",\"version\":1,\"values\":{}}");
        QTest::newRow("future version")
            << QByteArray("{\"format\":\"vornel-defaults\",\"version\":2,\"values\":{}}");
        QTest::newRow("bad tagged value") << QByteArray(
            "{\"format\":\"vornel-defaults\",\"version\":1,\"values\":{\"k\":{\"int\":\"12x\"}}}");
    }
    void unreadableFileIsMovedAside()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath("defaults.json");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("could not be read; moved it to"));
        UserDefaults store(path);
        QVERIFY(!store.value("k"));
        QVERIFY(!store.movedAsidePath().isEmpty());
        QFile aside(store.movedAsidePath());
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll(), content); // kept, not deleted
        QVERIFY(store.setValue("k", true));
        QCOMPARE(UserDefaults(path).value("k"), QVariant(true));
    }

    // A write the disk refuses leaves the last good file; the session keeps
    // the new value and goes on.
    void refusedWriteKeepsLastGoodFile()
    {
        if (::geteuid() == 0)
            QSKIP("root ignores folder permissions; see the RLIMIT_FSIZE case");
        TempDefaults defaults;
        QVERIFY(defaults.store->setValue("k", QStringLiteral("good")));
        QFile::setPermissions(defaults.dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QVERIFY(!defaults.store->setValue("k", QStringLiteral("new")));
        QFile::setPermissions(defaults.dir.path(), QFileDevice::ReadOwner |
                                                       QFileDevice::WriteOwner |
                                                       QFileDevice::ExeOwner);
        QCOMPARE(*defaults.store->value("k"), QVariant("new"));
        QCOMPARE(*defaults.reopened()->value("k"), QVariant("good"));
    }

    // A disk that runs out of room mid-write (RLIMIT_FSIZE): the same.
    void fileSizeLimitKeepsLastGoodFile()
    {
        TempDefaults defaults;
        QVERIFY(defaults.store->setValue("k", QStringLiteral("good")));
        rlimit old{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 4096;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool written = defaults.store->setValue("k", QString(100000, QChar(u'x')));
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
        QVERIFY(!written);
        QCOMPARE(*defaults.reopened()->value("k"), QVariant("good"));
        QCOMPARE(QDir(defaults.dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"defaults.json"}); // no temporary file left behind
    }

    void concurrentWriters()
    {
        TempDefaults defaults;
        UserDefaults* store = defaults.store.get();
        QList<QFuture<void>> writers;
        for (int t = 0; t < 4; ++t)
            writers.append(QtConcurrent::run([store, t] {
                for (int i = 0; i < 50; ++i)
                    store->setValue(QStringLiteral("w%1").arg(t), qint64(i));
            }));
        for (auto& w : writers)
            w.waitForFinished();
        const auto reopened = defaults.reopened();
        for (int t = 0; t < 4; ++t)
            QCOMPARE(*reopened->value(QStringLiteral("w%1").arg(t)), QVariant(qint64(49)));
    }

    // A writer killed with SIGKILL at random moments never leaves a file that
    // fails to load or mixes two states.
    void survivesKillAtAnyMoment()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("defaults.json");
        qint64 lastCounter = 0;
        int kills = 0;
        for (int round = 0; round < 200; ++round) {
            QProcess writer;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("VORNEL_DEFAULTS_WRITER", path);
            writer.setProcessEnvironment(env);
            writer.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(writer.waitForStarted());
            QThread::msleep(5 + QRandomGenerator::global()->bounded(25));
            ::kill(pid_t(writer.processId()), SIGKILL);
            writer.waitForFinished();
            ++kills;

            if (!QFile::exists(path))
                continue; // killed before the first write
            UserDefaults store(path);
            QVERIFY2(store.movedAsidePath().isEmpty(), "the file was torn");
            const QVariantMap state = store.value("state").value_or(QVariant()).toMap();
            const qint64 counter = state.value("counter").toLongLong();
            QVERIFY(counter >= 1);
            QCOMPARE(state.value("blob").toString(),
                     QString(2000, QChar(u'a' + int(counter % 26))));
            lastCounter = counter;
        }
        QCOMPARE(kills, 200);
        QVERIFY(lastCounter > 0);
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet("VORNEL_DEFAULTS_WRITER"))
        runWriter(qEnvironmentVariable("VORNEL_DEFAULTS_WRITER"));
    QCoreApplication app(argc, argv);
    TestUserDefaults test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_userdefaults.moc"
