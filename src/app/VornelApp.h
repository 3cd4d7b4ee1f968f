#pragma once

#include "app/Persistence.h"
#include "app/UserSettings.h"

#include <QObject>
#include <QQmlApplicationEngine>
#include <memory>

namespace vornel {

// The app: loads the local object store first, then shows one window whose
// root is the home screen. The root's UserSettings is in the QML context as
// "rootSettings"; the stored appearance is applied when the window first
// appears, and the tracking-consent hook runs on every activation.
class VornelApp : public QObject {
    Q_OBJECT
public:
    VornelApp();
    ~VornelApp() override;

    // Registers the image provider and the platform singletons on an engine
    // (the app's, or a test's).
    static void prepareEngine(QQmlEngine& engine);

    // Loads Main.qml; false when it could not be created.
    bool show();
    QQmlApplicationEngine& engine() { return m_engine; }
    UserSettings& userSettings() { return *m_userSettings; }
    int trackingRequests() const { return m_trackingRequests; }

private:
    PersistenceController& m_persistenceController;
    std::unique_ptr<UserSettings> m_userSettings;
    QQmlApplicationEngine m_engine;
    int m_trackingRequests = 0;
};

} // namespace vornel
