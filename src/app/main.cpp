#include "AppDelegate.h"
#include "AppDirectories.h"
#include "LaunchOptions.h"
#include "NavigationController.h"
#include "WindowScreenshot.h"

#include <QGuiApplication>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <cstdio>

#if defined(__SANITIZE_ADDRESS__)
// Qt Quick keeps its decoded pictures in a process-wide cache that it never frees at exit; a
// sanitized build would report that as a leak and fail every run (the tests run so as well).
extern "C" const char *__asan_default_options()
{
    return "detect_leaks=0";
}
#endif

Q_IMPORT_QML_PLUGIN(Ombrisk_PlatformPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_PickerPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_PreviewPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_AppPlugin)

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Ombrisk"));
    QGuiApplication::setOrganizationName(QStringLiteral("Ombrisk"));
    const QStringList arguments = QGuiApplication::arguments();
    const LaunchOptions options = LaunchOptions::fromArguments(arguments);
    if (!options.error.isEmpty()) {
        std::fprintf(stderr,
                     "error: %s\nusage: ombrisk [--root DIR] [--window-size WxH] "
                     "[--screenshot FILE] [--open PICKER_PATH] [--info PICKER_PATH]\n",
                     qPrintable(options.error));
        return 2;
    }
    AppDirectories::configureFromCommandLine(arguments);

    AppDelegate delegate;
    delegate.didFinishLaunching(options);
    if (!delegate.window())
        return 1;
    std::unique_ptr<WindowScreenshot> screenshot;
    if (!options.screenshotPath.isEmpty())
        screenshot = std::make_unique<WindowScreenshot>(
            delegate.window(), delegate.navigationController()->topViewController(),
            options.screenshotPath);
    return QGuiApplication::exec();
}
