// The whole flow through the real QML, headless, against the loopback fake
// service: onboarding, pick, face check, upload, result, save, like, close;
// then a failed prediction and one without output.
#include "FakeService.h"
#include "Fakes.h"
#include "app/VornelApp.h"
#include "generation/PngEncoding.h"
#include "screens/MainFlow.h"
#include "screens/Onboarding.h"
#include "screens/PhotoPickerSheet.h"

#include <QDir>
#include <QQmlApplicationEngine>
#include <QQmlExtensionPlugin>
#include <QQuickItem>
#include <QStandardPaths>
#include <QtTest>

Q_IMPORT_QML_PLUGIN(VornelPlugin)

using namespace vornel;
using namespace vornel::test;

namespace {

template <typename T> T* find(QObject* root, const char* name)
{
    return root->findChild<T*>(QLatin1StringView(name));
}

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT

    QString m_status = QStringLiteral("succeeded");
    QByteArray m_output;
    FakeService m_service;
    QByteArray m_portrait;

    QObject* m_root = nullptr;
    HomeView* m_home = nullptr;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    std::shared_ptr<FakeScenes> m_scenes = std::make_shared<FakeScenes>();
    std::shared_ptr<FakeNotifications> m_notifications = std::make_shared<FakeNotifications>();
    std::shared_ptr<FakeUrls> m_urls = std::make_shared<FakeUrls>();
    std::unique_ptr<ScopedPlatform> m_platform;
    std::unique_ptr<TempDefaults> m_defaults;

    QObject* alert(const char* name) { return find<QObject>(m_root, name); }

    // Picks the astronaut through the picker sheet and waits for the upload cover.
    void pickAndConfirm(const QString& gender)
    {
        m_home->uploadPhotoTapped();
        PhotoPickerSheet* picker = nullptr;
        QTRY_VERIFY((picker = find<PhotoPickerSheet>(m_root, "photoPicker")));
        QVERIFY(picker->choose(QUrl::fromLocalFile(VORNEL_TEST_PHOTOS "/astronaut.png")));
        picker->confirm(0, 0, 512);
        QTRY_VERIFY(!m_home->showImagePicker());
        QCOMPARE(m_home->profileImageWidth(), 512);
        QTRY_VERIFY(m_home->showUploadView()); // one face
        UploadView* upload = nullptr;
        QTRY_VERIFY((upload = find<UploadView>(m_root, "uploadView")));
        QCOMPARE(upload->selectedGender(), "man");
        upload->setSelectedGender(gender);
        upload->confirm();
        QTRY_VERIFY(!m_home->showUploadView());
        QTRY_VERIFY(m_home->showResultView());
    }

private slots:
    void initTestCase()
    {
        m_portrait = *encodePng(QImage(QStringLiteral(VORNEL_TEST_PHOTOS "/astronaut.png")));
        m_output = "\"" + m_service.url("/portrait.png").toUtf8() + "\"";
        m_service.setHandler([this](const RecordedRequest& r) {
            if (r.path == "/portrait.png") {
                FakeResponse f;
                f.addHeader("Content-Type", "image/png");
                f.body = m_portrait;
                return f;
            }
            if (r.path.startsWith("/v1/models/"))
                return FakeResponse::json(modelJson(true));
            if (r.path.endsWith("/cancel"))
                return FakeResponse::json(predictionJson("p1", "canceled"));
            if (r.method == "POST")
                return FakeResponse::json(predictionJson("p1", "starting"), 201);
            return FakeResponse::json(
                predictionJson("p1", m_status, m_status == "failed" ? "null" : m_output));
        });
        m_defaults = std::make_unique<TempDefaults>();
        m_platform = std::make_unique<ScopedPlatform>(
            PlatformServices{.scenes = m_scenes, .urls = m_urls, .notifications = m_notifications});

        m_engine = std::make_unique<QQmlApplicationEngine>();
        VornelApp::prepareEngine(*m_engine);
        m_engine->load(QUrl(QStringLiteral("qrc:/Vornel/screens/qml/Main.qml")));
        QCOMPARE(m_engine->rootObjects().size(), 1);
        m_root = m_engine->rootObjects().first();
        m_home = find<HomeView>(m_root, "homeView");
        QVERIFY(m_home);
        auto config = PredictionViewModel::defaultConfiguration();
        config.serviceUrl = m_service.url("/v1/");
        config.token = QStringLiteral("e2e-token");
        config.waitPolicy.baseDelay = 0.01;
        config.waitPolicy.jitterWidth = 0;
        m_home->setPredictionConfiguration(config);
    }

    void onboardingOnce()
    {
        QVERIFY(m_home->showOnboarding());
        QCOMPARE(*m_defaults->store->value("reviewWorthyActionCount"), QVariant(qint64(1)));
        OnboardingContentView* content = nullptr;
        QTRY_VERIFY((content = find<OnboardingContentView>(m_root, "onboardingContent")));
        for (int i = 0; i < 3; ++i)
            content->pager()->continueTapped();
        QTRY_VERIFY(!m_home->showOnboarding());
        QTRY_COMPARE(m_scenes->reviewRequests, 2);
    }

    void portraitFlow()
    {
        pickAndConfirm("woman");
        ResultView* result = nullptr;
        QTRY_VERIFY((result = find<ResultView>(m_root, "resultView")));
        QTRY_VERIFY(result->resultPresent());
        QTRY_COMPARE(result->showConfetti(), 1);
        QVERIFY(!result->showLoadingIndicator());
        QCOMPARE(find<QObject>(m_root, "resultTitle")->property("text").toString(),
                 "Congratulations! Here's your outcome");
        QCOMPARE(m_defaults->store->value("imageHistory")->toList().size(), 1);
        QCOMPARE(m_notifications->requests.size(), 1);

        result->downloadResult();
        QVERIFY(alert("reviewAlert")->property("visible").toBool());
        QCOMPARE(alert("reviewAlert")->property("title").toString(),
                 "Your Feedback Matters, Share a Review with Us!");
        QTRY_VERIFY(result->showFloatBottomImageSaveAlert());
        QCOMPARE(find<QObject>(m_root, "savedText")->property("text").toString(),
                 "Your image has been saved to a gallery.");
        QTRY_VERIFY_WITH_TIMEOUT(!result->showFloatBottomImageSaveAlert(),
                                 5000); // closes by itself
        const QDir pictures(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) +
                            "/Vornel");
        QTRY_COMPARE(pictures.entryList(QDir::Files).size(), 1);
        QMetaObject::invokeMethod(alert("reviewAlert"), "primary");
        QCOMPARE(m_urls->opened.size(), 1);

        result->likeResult();
        result->dislikeResult();
        QVERIFY(result->didDislike() && !result->didLike());

        result->closeAndCancel();
        QTRY_VERIFY(!m_home->showResultView());
        QTRY_VERIFY(!m_home->comfirmUploadStatus());
        QTRY_COMPARE(m_service.requestLines().last(), "POST /v1/predictions/p1/cancel");
        // The submitted body asked for the woman set with both images.
        bool sawSubmit = false;
        for (const RecordedRequest& r : m_service.requests())
            if (r.method == "POST" && r.path == "/v1/predictions") {
                sawSubmit = true;
                QVERIFY(r.body.contains("\"swap_image\":\"data:image/png;base64,"));
                QCOMPARE(r.header("Authorization"), "Bearer e2e-token");
            }
        QVERIFY(sawSubmit);
    }

    void errorAlerts_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("alertName");
        QTest::addColumn<QString>("title");
        QTest::newRow("failed") << "failed" << QByteArray("null") << "processingErrorAlert"
                                << "Error processing image";
        QTest::newRow("no output") << "succeeded" << QByteArray("null") << "noOutputAlert"
                                   << "No Output Received";
    }
    void errorAlerts()
    {
        QFETCH(QString, status);
        QFETCH(QByteArray, output);
        QFETCH(QString, alertName);
        QFETCH(QString, title);
        m_status = status;
        m_output = output;
        const qsizetype before = m_service.requests().size();
        pickAndConfirm("man");
        QObject* box = nullptr;
        QTRY_VERIFY((box = alert(alertName.toLatin1().constData())) &&
                    box->property("visible").toBool());
        QCOMPARE(box->property("title").toString(), title);
        QMetaObject::invokeMethod(box, "closed");
        QMetaObject::invokeMethod(box, "primary"); // "OK"
        QTRY_VERIFY(!m_home->showResultView());
        QTRY_COMPARE(m_service.requestLines().last(), "POST /v1/predictions/p1/cancel");
        QVERIFY(m_service.requests().size() > before);
        QCOMPARE(m_notifications->requests.size(), 1); // none for these
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/.local/share").toUtf8());
    qputenv("XDG_CACHE_HOME", (home.path() + "/.cache").toUtf8());
    QGuiApplication app(argc, argv);
    TestEndToEnd test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_e2e.moc"
