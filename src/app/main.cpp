#include "AppDelegate.h"
#include "AppDirectories.h"
#include "LaunchOptions.h"
#include "NavigationController.h"
#include "QuitSignals.h"
#include "SingleInstance.h"
#include "StandardError.h"
#include "Translations.h"
#include "WindowScreenshot.h"

#include <QGuiApplication>
#include <QLocale>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <cstdio>
#include <variant>

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

// The token the launcher gave this start so that its window may take the focus; a later
// start passes it on to the window already open.
QString activationToken()
{
    const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    return token.isEmpty() ? qEnvironmentVariable("DESKTOP_STARTUP_ID") : token;
}

// This start as the instance of its root (the channel later starts reach it through, or null
// when there is none to be had), or the exit status when another instance took its files.
std::variant<std::unique_ptr<InstanceChannel>, int> claimInstance(const LaunchOptions &options)
{
    auto channel = SingleInstance::channelFor(InstanceKey::forRoot(
        AppDirectories::documentsDirectory(), AppDirectories::isDefaultRoot()));
    Error error;
    switch (channel->claimOrForward({options.handedOver, activationToken()}, &error)) {
    case InstanceChannel::Outcome::Claimed:
        return channel;
    case InstanceChannel::Outcome::Unusable:
        sayOnStandardError(error.message);
        return nullptr;
    case InstanceChannel::Outcome::NoAnswer:
        sayOnStandardError(error.message);
        return 1;
    case InstanceChannel::Outcome::Forwarded:
        break;
    }
    const QStringList unapplied = options.windowOptionsGiven();
    if (unapplied.isEmpty())
        return 0;
    sayOnStandardError(QCoreApplication::translate(
                           "main", "Ombrisk already runs for this folder and took the files; %1 "
                                   "applies to a first start only.")
                           .arg(unapplied.join(QStringLiteral(", "))));
    // A screenshot asked for and not saved must not pass for one saved.
    return options.screenshotPath.isEmpty() ? 0 : 1;
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
    QGuiApplication::setDesktopFileName(QStringLiteral(OMBRISK_APP_ID));
    Translations::install(app, QLocale());
    const QStringList arguments = QGuiApplication::arguments();
    const LaunchOptions options = LaunchOptions::fromArguments(arguments);
    if (!options.error.isEmpty()) {
        sayOnStandardError(options.error);
        std::fputs(qPrintable(LaunchOptions::usage()), stderr);
        return 2;
    }
    AppDirectories::configureFromCommandLine(arguments);
    auto instance = claimInstance(options);
    if (const int *status = std::get_if<int>(&instance))
        return *status;
    const auto &channel = std::get<std::unique_ptr<InstanceChannel>>(instance);

    AppDelegate delegate;
    QuitSignals quitSignals([&delegate] { delegate.quit(); });
    delegate.didFinishLaunching(options);
    if (!delegate.window())
        return 1;
    if (channel)
        QObject::connect(channel.get(), &InstanceChannel::requested, &delegate,
                         [&delegate](const InstanceRequest &request) {
                             delegate.bringToFront(request.activationToken);
                             delegate.handOver()->handOver(request.urls);
                         });
    std::unique_ptr<WindowScreenshot> screenshot;
    if (!options.screenshotPath.isEmpty())
        screenshot = std::make_unique<WindowScreenshot>(
            delegate.window(), delegate.navigationController(), delegate.handOver(),
            options.screenshotPath);
    const int status = QGuiApplication::exec();
    screenshot.reset();
    delegate.shutDown();
    return status;
}
