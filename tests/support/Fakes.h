#pragma once

#include "platform/PlatformServices.h"
#include "platform/UserDefaults.h"

#include <QMutex>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace vornel::test {

// A user-defaults store in a temporary folder, installed as the standard one.
struct TempDefaults {
    QTemporaryDir dir;
    std::unique_ptr<UserDefaults> store;

    TempDefaults() : store(std::make_unique<UserDefaults>(dir.filePath("defaults.json")))
    {
        UserDefaults::setStandard(store.get());
    }
    ~TempDefaults() { UserDefaults::setStandard(nullptr); }
    // A new store over the same file, as after a restart.
    std::unique_ptr<UserDefaults> reopened() const
    {
        return std::make_unique<UserDefaults>(dir.filePath("defaults.json"));
    }
};

struct FakeWindows : WindowSystem {
    bool window = true;
    QList<InterfaceStyle> styles;
    bool hasMainWindow() const override { return window; }
    void setInterfaceStyle(InterfaceStyle style) override { styles.append(style); }
};

struct FakeScenes : SceneSystem {
    bool active = true;
    int reviewRequests = 0;
    bool hasForegroundActiveWindowScene() const override { return active; }
    void requestReview() override { ++reviewRequests; }
};

struct FakeUrls : UrlOpener {
    bool canOpen = true;
    QList<QUrl> opened;
    bool canOpenURL(const QUrl&) const override { return canOpen; }
    void openURL(const QUrl& url) override { opened.append(url); }
};

struct FakePasteboard : Pasteboard {
    QStringList strings;
    void setString(const QString& text) override { strings.append(text); }
};

struct FakeNotifications : NotificationCenter {
    QList<NotificationRequest> requests;
    void add(const NotificationRequest& request, Completion completion) override
    {
        requests.append(request);
        completion(std::nullopt);
    }
};

// Runs each change step at once on the calling thread and keeps what it added.
struct FakePhotos : PhotoLibrary {
    QList<std::optional<QByteArray>> committed;
    void performChanges(ChangeStep step) override
    {
        AssetCreationRequest request;
        step(request);
        committed.append(request.photo());
    }
};

} // namespace vornel::test
