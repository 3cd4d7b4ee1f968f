#pragma once

#include "platform/UserDefaults.h"

#include <QObject>
#include <QString>

namespace vornel {

// The observable store of the user's preferences and one-time flags. Values
// are read once when an instance is made and written back on every set.
// Observers get willChange() before each change and the property's own
// notification after it.
class UserSettings : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString selectedAppearance READ selectedAppearance WRITE setSelectedAppearance NOTIFY
                   selectedAppearanceChanged)
    Q_PROPERTY(bool showOnboarding READ showOnboarding WRITE setShowOnboarding NOTIFY
                   showOnboardingChanged)
    Q_PROPERTY(bool firstTimeDownload READ firstTimeDownload WRITE setFirstTimeDownload NOTIFY
                   firstTimeDownloadChanged)

public:
    explicit UserSettings(QObject* parent = nullptr);
    // Reads from another store (tests).
    explicit UserSettings(UserDefaults& store, QObject* parent = nullptr);

    QString selectedAppearance() const { return m_selectedAppearance; }
    bool showOnboarding() const { return m_showOnboarding; }
    bool firstTimeDownload() const { return m_firstTimeDownload; }

    void setSelectedAppearance(const QString& value);
    void setShowOnboarding(bool value);
    void setFirstTimeDownload(bool value);

signals:
    void willChange();
    void selectedAppearanceChanged();
    void showOnboardingChanged();
    void firstTimeDownloadChanged();

private:
    UserDefaults& m_store;
    QString m_selectedAppearance;
    bool m_showOnboarding = false;
    bool m_firstTimeDownload = false;
};

// Sets the main window's interface style from an appearance name: "Light",
// "Dark", or "System" (follow the system). Any other name, or no window,
// changes nothing.
void applyAppearance(const QString& name);

} // namespace vornel
