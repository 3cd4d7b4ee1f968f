#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

namespace vornel {

// The narrow interfaces through which the app reaches what a phone platform
// would give it. Each has one desktop implementation; tests install fakes.

enum class InterfaceStyle { unspecified = 0, light = 1, dark = 2 };

// The app's main window and its light/dark override.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    virtual bool hasMainWindow() const = 0;
    virtual void setInterfaceStyle(InterfaceStyle style) = 0;
};

// Foreground-active window scenes and the rating prompt.
class SceneSystem {
public:
    virtual ~SceneSystem() = default;
    virtual bool hasForegroundActiveWindowScene() const = 0;
    virtual void requestReview() = 0;
};

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual bool canOpenURL(const QUrl& url) const = 0;
    virtual void openURL(const QUrl& url) = 0;
};

// One change of the photo library: at most one new photo from bytes.
class AssetCreationRequest {
public:
    void addPhotoResource(QByteArray bytes) { m_photo = std::move(bytes); }
    const std::optional<QByteArray>& photo() const { return m_photo; }

private:
    std::optional<QByteArray> m_photo;
};

class PhotoLibrary {
public:
    using ChangeStep = std::function<void(AssetCreationRequest&)>;
    virtual ~PhotoLibrary() = default;
    // Returns at once; the change step runs later on a worker thread, and the
    // library commits what it added after it.
    virtual void performChanges(ChangeStep step) = 0;
};

// The general pasteboard.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;
    virtual void setString(const QString& text) = 0;
};

// The tracking-consent service; the desktop has none.
class TrackingConsent {
public:
    virtual ~TrackingConsent() = default;
    // Asks for authorization; the answer is ignored by the app.
    virtual void requestAuthorization() = 0;
};

struct NotificationRequest {
    QString identifier;
    QString title;
    QString body;
    bool defaultSound = true;
    double triggerSeconds = 1.0;
    bool repeats = false;
};

class NotificationCenter {
public:
    // Called once: with an error description, or with nothing on success.
    using Completion = std::function<void(const std::optional<QString>& error)>;
    virtual ~NotificationCenter() = default;
    virtual void add(const NotificationRequest& request, Completion completion) = 0;
};

// The platform as the app sees it. The defaults are the desktop stand-ins.
struct PlatformServices {
    std::shared_ptr<WindowSystem> windows = {};
    std::shared_ptr<SceneSystem> scenes = {};
    std::shared_ptr<UrlOpener> urls = {};
    std::shared_ptr<PhotoLibrary> photos = {};
    std::shared_ptr<NotificationCenter> notifications = {};
    std::shared_ptr<Pasteboard> pasteboard = {};
    std::shared_ptr<TrackingConsent> tracking = {};
    // The bundle's build number; nothing when it has none.
    std::function<std::optional<QString>()> buildNumber = {};
};

PlatformServices& platform();

// Installs other services for the lifetime of the object (tests).
class ScopedPlatform {
public:
    explicit ScopedPlatform(PlatformServices services);
    ~ScopedPlatform();
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

private:
    PlatformServices m_previous;
};

} // namespace vornel
