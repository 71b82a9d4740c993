#include "AppDelegate.h"
#include "AppDirectories.h"
#include "LaunchOptions.h"
#include "NavigationController.h"
#include "QuitSignals.h"
#include "Translations.h"
#include "WindowScreenshot.h"

#include <QGuiApplication>
#include <QLocale>
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

namespace {

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// `--help` before any window system is asked for: it needs no display and touches nothing.
int printUsage(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Translations::install(app, QLocale());
    std::fputs(qPrintable(LaunchOptions::usage()), stdout);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (LaunchOptions::asksForHelp(argumentsOf(argc, argv)))
        return printUsage(argc, argv);
    QGuiApplication app(argc, argv); // takes Qt's own options out of the arguments
    QGuiApplication::setApplicationName(QStringLiteral("Ombrisk"));
    QGuiApplication::setOrganizationName(QStringLiteral("Ombrisk"));
    Translations::install(app, QLocale());
    const QStringList arguments = QGuiApplication::arguments();
    const LaunchOptions options = LaunchOptions::fromArguments(arguments);
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "ombrisk: %s\n%s", qPrintable(options.error),
                     qPrintable(LaunchOptions::usage()));
        return 2;
    }
    AppDirectories::configureFromCommandLine(arguments);

    AppDelegate delegate;
    QuitSignals quitSignals([&delegate] { delegate.quit(); });
    delegate.didFinishLaunching(options);
    if (!delegate.window())
        return 1;
    std::unique_ptr<WindowScreenshot> screenshot;
    if (!options.screenshotPath.isEmpty())
        screenshot = std::make_unique<WindowScreenshot>(
            delegate.window(), delegate.navigationController(), options.screenshotPath);
    const int status = QGuiApplication::exec();
    screenshot.reset();
    delegate.shutDown();
    return status;
}
