#include "app/VornelApp.h"

#include <QGuiApplication>
#include <QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(VornelPlugin)

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("vornel"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("AI Vornel"));
    QGuiApplication::setOrganizationName(QStringLiteral("Vornel"));
    QGuiApplication::setDesktopFileName(QStringLiteral("app.vornel.Vornel"));
    vornel::VornelApp vornelApp;
    if (!vornelApp.show())
        return 1;
    return app.exec();
}
