// Starts the real shell on a home folder, waits for its listing to be drawn, then shows the
// contents of an archive of the home folder as "Show Contents" does and reports the time from
// that call to the first frame drawn with the archive's top level in its rows (the spinner's
// short linger after that is not waited for). With an entry name it then opens that entry of
// the top level as a tap on its row does and reports the time to the first frame drawn with its
// picture; without one it lets the level's row pictures be made for a while. Ends with the
// process's peak memory.
#include "AppDelegate.h"
#include "AppDirectories.h"
#include "ArchiveContentsViewController.h"
#include "FrameProbe.h"
#include "LocalFilePreviewViewController.h"
#include "NavigationController.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>
#include <cstdio>
#include <utility>

Q_IMPORT_QML_PLUGIN(Ombrisk_PlatformPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_PickerPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_PreviewPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_AppPlugin)

using namespace FrameProbe;

namespace {

void report()
{
    std::printf("peak memory: %ld MB\n", peakMegabytes());
    finish();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: inside-probe ROOT ARCHIVE_NAME [ENTRY_NAME]\n");
        return 2;
    }
    AppDirectories::useRoot(arguments.at(1));
    const QString archive = arguments.at(2);
    const QString entry = arguments.value(3);
    LaunchOptions options;
    options.windowSize = QSize(1280, 1004);
    AppDelegate delegate;
    delegate.didFinishLaunching(options);
    QElapsedTimer clock;
    ArchiveContentsViewController *contents = nullptr;

    const auto pictureShown = [&] {
        std::printf("entry to first drawn frame: %lld ms\n", (long long)clock.elapsed());
        report();
    };
    const auto openEntry = [&] {
        clock.start();
        contents->previewEntryNamed(entry);
        QObject::connect(delegate.navigationController(), &NavigationController::stackChanged, [&] {
            auto *preview = qobject_cast<LocalFilePreviewViewController *>(
                delegate.navigationController()->topViewController());
            if (!preview)
                return;
            const auto ready = [&, preview] {
                static bool seen = false;
                if (preview->isContentShown() && !std::exchange(seen, true))
                    afterNextFrame(delegate.window(), pictureShown);
            };
            QObject::connect(preview, &LocalFilePreviewViewController::contentShownChanged, ready);
            ready();
        });
    };
    const auto levelShown = [&] {
        std::printf("top level (%lld rows) to first drawn frame: %lld ms\n",
                    (long long)contents->items().size(), (long long)clock.elapsed());
        // Browsing goes on after the first frame: the level's row pictures are made meanwhile,
        // and their memory counts.
        if (entry.isEmpty())
            QTimer::singleShot(1500, report);
        else
            openEntry();
    };
    QObject::connect(
        delegate.viewController(), &KPDocumentPickerViewController::initialItemsLoaded, [&] {
            afterNextFrame(delegate.window(), [&] {
                clock.start();
                delegate.viewController()->showContentsOfArchiveNamed(archive);
                contents = qobject_cast<ArchiveContentsViewController *>(
                    delegate.navigationController()->topViewController());
                if (!contents) {
                    std::fprintf(stderr, "no contents screen for %s\n", qPrintable(archive));
                    QCoreApplication::exit(1);
                    return;
                }
                QObject::connect(
                    contents, &KPDocumentPickerViewController::listingShown, contents,
                    [&] { afterNextFrame(delegate.window(), levelShown); },
                    Qt::SingleShotConnection);
            });
        });
    return QGuiApplication::exec();
}
