// Starts the real shell on a home folder and reports the longest time the main thread was busy
// without turning its event loop, from launch until the first listing is drawn, and after.
#include "AppDelegate.h"
#include "AppDirectories.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>
#include <cstdio>

Q_IMPORT_QML_PLUGIN(Ombrisk_PlatformPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_PickerPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_PreviewPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_AppPlugin)

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: stall-probe ROOT\n");
        return 2;
    }
    AppDirectories::useRoot(QString::fromLocal8Bit(argv[1]));
    AppDelegate delegate;
    delegate.didFinishLaunching({});
    // A 1 ms heartbeat: the longest gap between beats is the longest stall.
    QElapsedTimer clock, sinceBeat;
    clock.start();
    sinceBeat.start();
    qint64 longest = 0;
    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&beat, &QTimer::timeout,
                     [&] { longest = std::max(longest, sinceBeat.restart()); });
    beat.start(1);
    QObject::connect(delegate.viewController(), &KPDocumentPickerViewController::initialItemsLoaded,
                     [&] {
                         // Let the rows be drawn and a little more, then report.
                         QTimer::singleShot(500, [&] {
                             std::printf("listed and drawn after %lld ms; longest main-thread "
                                         "stall after launch: %lld ms\n",
                                         (long long)clock.elapsed() - 500, (long long)longest);
                             QCoreApplication::quit();
                         });
                     });
    return QGuiApplication::exec();
}
