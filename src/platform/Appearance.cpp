#include "platform/Appearance.h"

#include <QGuiApplication>
#include <QPalette>

namespace vornel {

Appearance& Appearance::instance()
{
    static Appearance* appearance = new Appearance(qApp);
    return *appearance;
}

Appearance::Appearance(QObject* parent) : QObject(parent)
{
    // Qt 6.4 has no colour-scheme hint; the system palette tells light from dark.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::paletteChanged, this, [this] {
            if (m_style == InterfaceStyle::unspecified)
                emit changed();
        });
}

void Appearance::setInterfaceStyle(InterfaceStyle style)
{
    if (m_style == style)
        return;
    m_style = style;
    emit changed();
}

bool Appearance::dark() const
{
    switch (m_style) {
    case InterfaceStyle::light:
        return false;
    case InterfaceStyle::dark:
        return true;
    case InterfaceStyle::unspecified:
        break;
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
}

} // namespace vornel
