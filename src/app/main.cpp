#include "AppDirectories.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Ombrisk"));
    QGuiApplication::setOrganizationName(QStringLiteral("Ombrisk"));
    AppDirectories::configureFromCommandLine(QGuiApplication::arguments());

    QQmlApplicationEngine engine;
    engine.load(QUrl(QStringLiteral("qrc:/Ombrisk/App/Main.qml")));
    if (engine.rootObjects().isEmpty())
        return 1;
    return QGuiApplication::exec();
}
