// The desktop stand-ins for the phone platform's services.
#include "platform/Appearance.h"
#include "platform/Logging.h"
#include "platform/PlatformServices.h"
#include "vornel_config.h"

#include <QBuffer>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QMutex>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThreadPool>
#include <QTimer>
#include <QWindow>

namespace vornel {

namespace {

class DesktopWindowSystem : public WindowSystem {
public:
    bool hasMainWindow() const override
    {
        return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
               !QGuiApplication::topLevelWindows().isEmpty();
    }
    void setInterfaceStyle(InterfaceStyle style) override
    {
        Appearance::instance().setInterfaceStyle(style);
    }
};

class DesktopSceneSystem : public SceneSystem {
public:
    bool hasForegroundActiveWindowScene() const override
    {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return false;
        if (QGuiApplication::applicationState() != Qt::ApplicationActive)
            return false;
        for (QWindow* w : QGuiApplication::topLevelWindows()) {
            if (w->isVisible())
                return true;
        }
        return false;
    }
    void requestReview() override
    {
        // The desktop has no rating prompt: the request is only noted.
        qCInfo(lcPlatform) << "Rating prompt requested; the desktop shows none.";
    }
};

class DesktopUrlOpener : public UrlOpener {
public:
    bool canOpenURL(const QUrl& url) const override
    {
        const QString scheme = url.scheme().toLower();
        return url.isValid() && (scheme == u"https" || scheme == u"http" || scheme == u"mailto");
    }
    void openURL(const QUrl& url) override { QDesktopServices::openUrl(url); }
};

// Saves each new photo, unchanged, in Pictures/Vornel under a new file name
// whose extension follows the bytes' real format.
class DesktopPhotoLibrary : public PhotoLibrary {
public:
    void performChanges(ChangeStep step) override
    {
        QThreadPool::globalInstance()->start([step = std::move(step)] {
            AssetCreationRequest request;
            step(request);
            commit(request);
        });
    }

    static void commit(const AssetCreationRequest& request)
    {
        if (!request.photo()) {
            qCInfo(lcPlatform) << "Photo library change without a photo; nothing saved.";
            return;
        }
        const QByteArray& bytes = *request.photo();
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QByteArray format = QImageReader::imageFormat(&buffer);
        if (format.isEmpty()) {
            qCWarning(lcPlatform) << "Not saved: the downloaded bytes are not an image.";
            return;
        }
        if (format == "jpeg")
            format = "jpg";
        const QString folder =
            QDir(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation))
                .filePath(QStringLiteral("Vornel"));
        if (!QDir().mkpath(folder)) {
            qCWarning(lcPlatform).noquote() << "Not saved: cannot create" << folder;
            return;
        }
        QTemporaryFile temp(QDir(folder).filePath(QStringLiteral(".vornel-XXXXXX")));
        if (!temp.open() || temp.write(bytes) != bytes.size() || !temp.flush()) {
            qCWarning(lcPlatform).noquote() << "Not saved:" << temp.errorString();
            return;
        }
        temp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                            QFileDevice::ReadGroup | QFileDevice::ReadOther);
        const QString stamp = QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss");
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QString name =
                QStringLiteral("Vornel-%1-%2.%3")
                    .arg(stamp)
                    .arg(QRandomGenerator::global()->generate() & 0xffffff, 6, 16, QChar(u'0'))
                    .arg(QString::fromLatin1(format));
            // rename() never replaces an existing file, so every photo is new.
            if (temp.rename(QDir(folder).filePath(name))) {
                temp.setAutoRemove(false);
                qCInfo(lcPlatform).noquote() << "Saved" << QDir(folder).filePath(name);
                return;
            }
        }
        qCWarning(lcPlatform) << "Not saved: no free file name.";
    }
};

// freedesktop notifications over the session bus. The one-second trigger is
// kept here; the outcome of the D-Bus call is the completion.
class DesktopNotificationCenter : public NotificationCenter {
public:
    void add(const NotificationRequest& request, Completion completion) override
    {
        QObject* context = QCoreApplication::instance();
        QTimer::singleShot(
            int(request.triggerSeconds * 1000), context,
            [request, completion = std::move(completion)] { deliver(request, completion); });
    }

    static void deliver(const NotificationRequest& request, const Completion& completion)
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected()) {
            completion(QStringLiteral("No D-Bus session bus: %1").arg(bus.lastError().message()));
            return;
        }
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.Notifications"),
            QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
        QVariantMap hints;
        if (request.defaultSound)
            hints.insert(QStringLiteral("sound-name"), QStringLiteral("message-new-instant"));
        hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("vornel"));
        hints.insert(QStringLiteral("x-vornel-identifier"), request.identifier);
        call << QStringLiteral("AI Vornel") << uint(0) << QString() << request.title << request.body
             << QStringList() << hints << int(-1);
        auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                         [watcher, completion] {
                             QDBusPendingReply<uint> reply = *watcher;
                             if (reply.isError())
                                 completion(reply.error().name() + QStringLiteral(": ") +
                                            reply.error().message());
                             else
                                 completion(std::nullopt);
                             watcher->deleteLater();
                         });
    }
};

class DesktopPasteboard : public Pasteboard {
public:
    void setString(const QString& text) override
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::clipboard()->setText(text);
    }
};

class DesktopTrackingConsent : public TrackingConsent {
public:
    void requestAuthorization() override
    {
        // The desktop has no tracking-consent service; the request is noted.
        qCDebug(lcPlatform)
            << "Tracking authorization requested; the desktop has no consent service.";
    }
};

PlatformServices desktopServices()
{
    PlatformServices s;
    s.windows = std::make_shared<DesktopWindowSystem>();
    s.scenes = std::make_shared<DesktopSceneSystem>();
    s.urls = std::make_shared<DesktopUrlOpener>();
    s.photos = std::make_shared<DesktopPhotoLibrary>();
    s.notifications = std::make_shared<DesktopNotificationCenter>();
    s.pasteboard = std::make_shared<DesktopPasteboard>();
    s.tracking = std::make_shared<DesktopTrackingConsent>();
    s.buildNumber = []() -> std::optional<QString> {
        const QString build = QString::fromUtf8(config::buildNumber);
        if (build.isEmpty())
            return std::nullopt;
        return build;
    };
    return s;
}

} // namespace

PlatformServices& platform()
{
    static PlatformServices services = desktopServices();
    return services;
}

ScopedPlatform::ScopedPlatform(PlatformServices services) : m_previous(platform())
{
    PlatformServices& current = platform();
    // Keep the desktop service wherever the override leaves one out.
    if (services.windows)
        current.windows = services.windows;
    if (services.scenes)
        current.scenes = services.scenes;
    if (services.urls)
        current.urls = services.urls;
    if (services.photos)
        current.photos = services.photos;
    if (services.notifications)
        current.notifications = services.notifications;
    if (services.pasteboard)
        current.pasteboard = services.pasteboard;
    if (services.tracking)
        current.tracking = services.tracking;
    if (services.buildNumber)
        current.buildNumber = services.buildNumber;
}

ScopedPlatform::~ScopedPlatform()
{
    platform() = m_previous;
}

} // namespace vornel
