#include "app/UserSettings.h"

#include "platform/PlatformServices.h"

namespace vornel {

namespace {

const QString kSelectedAppearance = QStringLiteral("selectedAppearance");
const QString kShowOnboarding = QStringLiteral("showOnboarding");
const QString kFirstTimeDownload = QStringLiteral("firstTimeDownload");

// A value of another type reads as the default and is left in the store.
QString readString(const UserDefaults& store, const QString& key, const QString& fallback)
{
    const std::optional<QVariant> v = store.value(key);
    return v && v->typeId() == QMetaType::QString ? v->toString() : fallback;
}

bool readBool(const UserDefaults& store, const QString& key, bool fallback)
{
    const std::optional<QVariant> v = store.value(key);
    return v && v->typeId() == QMetaType::Bool ? v->toBool() : fallback;
}

} // namespace

UserSettings::UserSettings(QObject* parent) : UserSettings(UserDefaults::standard(), parent) {}

UserSettings::UserSettings(UserDefaults& store, QObject* parent)
    : QObject(parent), m_store(store),
      m_selectedAppearance(readString(store, kSelectedAppearance, QStringLiteral("Dark"))),
      m_showOnboarding(readBool(store, kShowOnboarding, false)),
      m_firstTimeDownload(readBool(store, kFirstTimeDownload, false))
{
}

void UserSettings::setSelectedAppearance(const QString& value)
{
    emit willChange();
    m_selectedAppearance = value;
    m_store.setValue(kSelectedAppearance, m_selectedAppearance);
    emit selectedAppearanceChanged();
}

void UserSettings::setShowOnboarding(bool value)
{
    emit willChange();
    m_showOnboarding = value;
    m_store.setValue(kShowOnboarding, m_showOnboarding);
    emit showOnboardingChanged();
}

void UserSettings::setFirstTimeDownload(bool value)
{
    emit willChange();
    m_firstTimeDownload = value;
    m_store.setValue(kFirstTimeDownload, m_firstTimeDownload);
    emit firstTimeDownloadChanged();
}

void applyAppearance(const QString& name)
{
    InterfaceStyle style;
    if (name == u"Light")
        style = InterfaceStyle::light;
    else if (name == u"Dark")
        style = InterfaceStyle::dark;
    else if (name == u"System")
        style = InterfaceStyle::unspecified;
    else
        return;
    WindowSystem& windows = *platform().windows;
    if (!windows.hasMainWindow())
        return;
    windows.setInterfaceStyle(style);
}

} // namespace vornel
