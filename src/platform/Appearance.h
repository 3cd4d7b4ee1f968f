#pragma once

#include "platform/PlatformServices.h"

#include <QObject>

namespace vornel {

// The window style the QML theme follows: a forced light or dark style, or
// the system's. Lives on the UI thread.
class Appearance : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool dark READ dark NOTIFY changed)
    Q_PROPERTY(int interfaceStyle READ interfaceStyleValue NOTIFY changed)
public:
    static Appearance& instance();

    InterfaceStyle interfaceStyle() const { return m_style; }
    int interfaceStyleValue() const { return int(m_style); }
    void setInterfaceStyle(InterfaceStyle style);
    // The forced style, or the system's when none is forced.
    bool dark() const;

signals:
    void changed();

private:
    explicit Appearance(QObject* parent = nullptr);
    InterfaceStyle m_style = InterfaceStyle::unspecified;
};

} // namespace vornel
