// Settings, appearance, the local object store and the review rule.
#include "Fakes.h"
#include "app/Persistence.h"
#include "app/UserSettings.h"
#include "engagement/ReviewHandler.h"
#include "platform/Console.h"

#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace vornel;
using namespace vornel::test;
Q_DECLARE_METATYPE(std::optional<QString>)

class TestShellStores : public QObject {
    Q_OBJECT
private slots:
    void settingsReadOnceWithDefaults_data()
    {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<QString>("appearance");
        QTest::addColumn<bool>("onboarding");
        QTest::addColumn<bool>("download");
        QTest::newRow("empty store") << QVariantMap{} << "Dark" << false << false;
        QTest::newRow("stored values") << QVariantMap{{"selectedAppearance", "Light"},
                                                      {"showOnboarding", true},
                                                      {"firstTimeDownload", true}}
                                       << "Light" << true << true;
        QTest::newRow("number as appearance")
            << QVariantMap{{"selectedAppearance", qint64(2)}} << "Dark" << false << false;
        QTest::newRow("string \"true\" is not a Boolean")
            << QVariantMap{{"showOnboarding", "true"}} << "Dark" << false << false;
        QTest::newRow("integer 1 is not a Boolean")
            << QVariantMap{{"firstTimeDownload", qint64(1)}} << "Dark" << false << false;
    }
    void settingsReadOnceWithDefaults()
    {
        QFETCH(QVariantMap, stored);
        QFETCH(QString, appearance);
        QFETCH(bool, onboarding);
        QFETCH(bool, download);
        TempDefaults defaults;
        for (auto it = stored.begin(); it != stored.end(); ++it)
            defaults.store->setValue(it.key(), it.value());
        const bool fileExisted = QFile::exists(defaults.store->filePath());
        UserSettings settings;
        QCOMPARE(settings.selectedAppearance(), appearance);
        QCOMPARE(settings.showOnboarding(), onboarding);
        QCOMPARE(settings.firstTimeDownload(), download);
        // Creation writes nothing; a foreign value stays in the store.
        QCOMPARE(QFile::exists(defaults.store->filePath()), fileExisted);
        for (auto it = stored.begin(); it != stored.end(); ++it)
            QCOMPARE(*defaults.store->value(it.key()), it.value());
    }

    void everySetNotifiesAndWrites()
    {
        TempDefaults defaults;
        defaults.store->setValue("selectedAppearance", qint64(7));
        UserSettings settings;
        QStringList events;
        connect(&settings, &UserSettings::willChange, this,
                [&] { events << "will:" + settings.selectedAppearance(); });
        connect(&settings, &UserSettings::selectedAppearanceChanged, this,
                [&] { events << "did:" + settings.selectedAppearance(); });
        settings.setSelectedAppearance("Dark"); // the value it already has
        QCOMPARE(events, (QStringList{"will:Dark", "did:Dark"}));
        QCOMPARE(*defaults.store->value("selectedAppearance"), QVariant("Dark"));
        settings.setShowOnboarding(true);
        settings.setFirstTimeDownload(false);
        const auto reopened = defaults.reopened();
        QCOMPARE(*reopened->value("showOnboarding"), QVariant(true));
        QCOMPARE(reopened->value("firstTimeDownload")->typeId(), int(QMetaType::Bool));
    }

    void instancesShareOnlyTheStore()
    {
        TempDefaults defaults;
        UserSettings root;
        UserSettings home;
        home.setShowOnboarding(true);
        QCOMPARE(root.showOnboarding(), false);
        QCOMPARE(UserSettings().showOnboarding(), true);
    }

    void applyAppearance_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("window");
        QTest::addColumn<QList<InterfaceStyle>>("styles");
        QTest::newRow("Light") << "Light" << true << QList<InterfaceStyle>{InterfaceStyle::light};
        QTest::newRow("Dark") << "Dark" << true << QList<InterfaceStyle>{InterfaceStyle::dark};
        QTest::newRow("System") << "System" << true
                                << QList<InterfaceStyle>{InterfaceStyle::unspecified};
        QTest::newRow("lower case") << "dark" << true << QList<InterfaceStyle>{};
        QTest::newRow("unknown") << "Sepia" << true << QList<InterfaceStyle>{};
        QTest::newRow("no window") << "Light" << false << QList<InterfaceStyle>{};
    }
    void applyAppearance()
    {
        QFETCH(QString, name);
        QFETCH(bool, window);
        QFETCH(QList<InterfaceStyle>, styles);
        auto windows = std::make_shared<FakeWindows>();
        windows->window = window;
        ScopedPlatform scoped({.windows = windows});
        vornel::applyAppearance(name);
        QCOMPARE(windows->styles, styles);
    }

    // The review rule's state table. Each row: stored counter and version,
    // the running build, whether a scene is active; then what one call does.
    void reviewRule_data()
    {
        QTest::addColumn<QVariant>("count");
        QTest::addColumn<QVariant>("version");
        QTest::addColumn<std::optional<QString>>("build");
        QTest::addColumn<bool>("scene");
        QTest::addColumn<int>("requests");
        QTest::addColumn<qint64>("countAfter");
        QTest::addColumn<QVariant>("versionAfter");
        const QVariant none;
        const std::optional<QString> b7("7");
        QTest::newRow("first call") << none << none << b7 << true << 0 << qint64(1) << none;
        QTest::newRow("second call")
            << QVariant(qint64(1)) << none << b7 << true << 0 << qint64(2) << none;
        QTest::newRow("third call asks")
            << QVariant(qint64(2)) << none << b7 << true << 1 << qint64(0) << QVariant("7");
        QTest::newRow("same build stays silent") << QVariant(qint64(2)) << QVariant("7") << b7
                                                 << true << 0 << qint64(3) << QVariant("7");
        QTest::newRow("and keeps counting") << QVariant(qint64(4)) << QVariant("7") << b7 << true
                                            << 0 << qint64(5) << QVariant("7");
        QTest::newRow("new build asks at once") << QVariant(qint64(7)) << QVariant("6") << b7
                                                << true << 1 << qint64(0) << QVariant("7");
        QTest::newRow("no scene still uses the chance")
            << QVariant(qint64(2)) << none << b7 << false << 0 << qint64(0) << QVariant("7");
        QTest::newRow("no build number asks and removes")
            << QVariant(qint64(2)) << QVariant("7") << std::optional<QString>() << true << 1
            << qint64(0) << none;
        QTest::newRow("below threshold never reads the version")
            << QVariant(qint64(0)) << QVariant("7") << b7 << true << 0 << qint64(1)
            << QVariant("7");
        QTest::newRow("foreign counter reads as 0")
            << QVariant("lots") << none << b7 << true << 0 << qint64(1) << none;
    }
    void reviewRule()
    {
        QFETCH(QVariant, count);
        QFETCH(QVariant, version);
        QFETCH(std::optional<QString>, build);
        QFETCH(bool, scene);
        QFETCH(int, requests);
        QFETCH(qint64, countAfter);
        QFETCH(QVariant, versionAfter);
        TempDefaults defaults;
        if (count.isValid())
            defaults.store->setValue("reviewWorthyActionCount", count);
        if (version.isValid())
            defaults.store->setValue("lastReviewRequestAppVersion", version);
        auto scenes = std::make_shared<FakeScenes>();
        scenes->active = scene;
        ScopedPlatform scoped({.scenes = scenes, .buildNumber = [build] { return build; }});
        ReviewHandler::recordReviewWorthyAction();
        QCOMPARE(scenes->reviewRequests, requests);
        QCOMPARE(*defaults.store->value("reviewWorthyActionCount"), QVariant(countAfter));
        QCOMPARE(defaults.store->value("lastReviewRequestAppVersion").value_or(QVariant()),
                 versionAfter);
    }

    void reviewRuleFromFreshInstall()
    {
        TempDefaults defaults;
        auto scenes = std::make_shared<FakeScenes>();
        ScopedPlatform scoped(
            {.scenes = scenes, .buildNumber = [] { return std::optional<QString>("1"); }});
        QList<int> requestsAfterEach;
        for (int i = 0; i < 8; ++i) {
            ReviewHandler::recordReviewWorthyAction();
            requestsAfterEach << scenes->reviewRequests;
        }
        QCOMPARE(requestsAfterEach, (QList<int>{0, 0, 1, 1, 1, 1, 1, 1}));
        QCOMPARE(*defaults.store->value("reviewWorthyActionCount"), QVariant(qint64(5)));
    }

    void rateApp_data()
    {
        QTest::addColumn<bool>("canOpen");
        QTest::addColumn<int>("opened");
        QTest::newRow("opens") << true << 1;
        QTest::newRow("refused") << false << 0;
    }
    void rateApp()
    {
        QFETCH(bool, canOpen);
        QFETCH(int, opened);
        auto urls = std::make_shared<FakeUrls>();
        urls->canOpen = canOpen;
        ScopedPlatform scoped({.urls = urls});
        TempDefaults defaults;
        vornel::rateApp();
        QCOMPARE(urls->opened.size(), opened);
        if (opened)
            QCOMPARE(urls->opened.first().toString(),
                     "https://apps.apple.com/app/id0000000000?action=write-review");
        QVERIFY(!defaults.store->value("reviewWorthyActionCount"));
    }

    void objectStoreCreatedOnceAndEmpty()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("data/Vornel.sqlite");
        std::optional<StoreError> error;
        {
            auto first = PersistenceController::load(path, &error);
            QVERIFY(first);
            QVERIFY(!error);
            QVERIFY(first->container().viewContext().automaticallyMergesChangesFromParent);
            QCOMPARE(first->container().name(), "Vornel");
        }
        QVERIFY(QFile::exists(path));
        QCOMPARE(QFile::permissions(path) & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
                 QFileDevice::Permissions());
        for (int launch = 0; launch < 3; ++launch) {
            auto again = PersistenceController::load(path, &error);
            QVERIFY(again);
            QVERIFY(Item::fetchAll(again->container().viewContext()).isEmpty());
        }
        // The entity works when asked, though the app never asks.
        auto store = PersistenceController::load(path, &error);
        auto item = Item::insert(store->container().viewContext(), std::nullopt);
        QVERIFY(item);
        QCOMPARE(Item::fetchAll(store->container().viewContext()), QList<Item>{*item});
    }

    void objectStoreFailures_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::newRow("folder is a file") << "folder is a file";
        QTest::newRow("store is not a database") << "garbage";
        QTest::newRow("incompatible model") << "incompatible";
    }
    void objectStoreFailures()
    {
        QFETCH(QString, scenario);
        QTemporaryDir dir;
        QString path = dir.filePath("Vornel.sqlite");
        if (scenario == "folder is a file") {
            QFile blocker(dir.filePath("data"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            path = dir.filePath("data/Vornel.sqlite");
        } else if (scenario == "garbage") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        } else {
            {
                QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "setup");
                db.setDatabaseName(path);
                QVERIFY(db.open());
                QSqlQuery(db).exec("CREATE TABLE Item (other INTEGER)");
                db.close();
            }
            QSqlDatabase::removeDatabase("setup");
        }
        std::optional<StoreError> error;
        QVERIFY(!PersistenceController::load(path, &error));
        QVERIFY(error);
        QVERIFY(!error->description.isEmpty());
        QVERIFY(error->userInfoDescription().startsWith("{"));
    }

    // A failed load at start-up prints the line and ends the process with a
    // non-zero status (run in a child whose data folder cannot be made).
    void failedLoadEndsTheApp()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VORNEL_LOAD_STORE", "1");
        env.insert("XDG_DATA_HOME", dir.filePath("blocker"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 1);
        const QString out = QString::fromUtf8(child.readAllStandardOutput());
        QVERIFY2(
            out.startsWith(
                "Unresolved error The folder of the store could not be created., {NSFilePath = "),
            qPrintable(out));
        QCOMPARE(out.count('\n'), 1);
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("VORNEL_LOAD_STORE")) {
        PersistenceController::shared();
        return 0;
    }
    TestShellStores test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_shellstores.moc"
