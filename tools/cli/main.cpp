#include "CliRunner.h"

#include <QGuiApplication>

int main(int argc, char** argv)
{
    // QGuiApplication: image plugins (SVG templates) need it; no window opens.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vornel-cli"));
    QCoreApplication::setOrganizationName(QStringLiteral("Vornel"));
    return vornel::cli::run(app.arguments());
}
