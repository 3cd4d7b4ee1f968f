#include "app/VornelApp.h"

#include "platform/Appearance.h"
#include "platform/PlatformServices.h"
#include "screens/PhotoPickerSheet.h"

#include <QGuiApplication>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QQmlContext>
#include <QQmlNetworkAccessManagerFactory>
#include <QStandardPaths>
#include <QtQml/qqml.h>

namespace vornel {

namespace {

// The remote image view's network: a disk cache in the app's cache folder,
// no token, and no redirect to a less safe scheme.
class CachingNetworkFactory : public QQmlNetworkAccessManagerFactory {
public:
    QNetworkAccessManager* create(QObject* parent) override
    {
        auto* network = new QNetworkAccessManager(parent);
        auto* cache = new QNetworkDiskCache(network);
        cache->setCacheDirectory(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                                 QStringLiteral("/images"));
        cache->setMaximumCacheSize(64 * 1024 * 1024);
        network->setCache(cache);
        network->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
        return network;
    }
};

} // namespace

VornelApp::VornelApp()
    // The object store comes first: a failed load ends the launch here.
    : m_persistenceController(PersistenceController::shared()),
      m_userSettings(std::make_unique<UserSettings>())
{
    prepareEngine(m_engine);
    m_engine.rootContext()->setContextProperty(QStringLiteral("rootSettings"),
                                               m_userSettings.get());
    m_engine.rootContext()->setContextProperty(
        QStringLiteral("managedObjectContext"),
        m_persistenceController.container().viewContext().connectionName());

    // Every activation asks for tracking consent and ignores the answer.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    return;
                ++m_trackingRequests;
                platform().tracking->requestAuthorization();
            });
}

VornelApp::~VornelApp() = default;

void VornelApp::prepareEngine(QQmlEngine& engine)
{
    static bool registered = false;
    if (!registered) {
        qmlRegisterSingletonInstance("VornelPlatform", 1, 0, "Appearance", &Appearance::instance());
        registered = true;
    }
    // The QML module "Vornel" is compiled in under qrc:/Vornel.
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.addImageProvider(QStringLiteral("vornel"), new VornelImageProvider);
    static CachingNetworkFactory factory;
    engine.setNetworkAccessManagerFactory(&factory);
}

bool VornelApp::show()
{
    bool first = true;
    connect(&m_engine, &QQmlApplicationEngine::objectCreated, this,
            [this, first](QObject* object, const QUrl&) mutable {
                if (!object || !first)
                    return;
                first = false;
                // The root's appearance, when the root first comes on screen.
                applyAppearance(m_userSettings->selectedAppearance());
            });
    // Qt 6.4 has no loadFromModule(): load the module's file by its path.
    m_engine.load(QUrl(QStringLiteral("qrc:/Vornel/screens/qml/Main.qml")));
    return !m_engine.rootObjects().isEmpty();
}

} // namespace vornel
