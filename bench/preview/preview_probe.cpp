// Starts the real shell on a home folder, waits for its listing to be drawn, then opens a file
// of the home folder as a tap on its row will and reports the time from that call to the first
// frame drawn with the file's picture, first page or text, and where that time went: the
// screen and its page made (the call itself), the previewer's items in (the folder listed),
// the content ready (decoded, rendered, read), the frame drawn. With --page-all it then pages
// through every picture of the folder, each once drawn, and reports the longest main-thread
// stall and the peak memory.
#include "AppDelegate.h"
#include "AppDirectories.h"
#include "FrameProbe.h"
#include "LocalFilePreviewViewController.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>
#include <cstdio>

Q_IMPORT_QML_PLUGIN(Ombrisk_PlatformPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_PickerPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_PreviewPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_AppPlugin)

using namespace FrameProbe;

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 4) {
        std::fprintf(stderr, "usage: preview-probe ROOT WIDTHxHEIGHT FILE_NAME [--page-all]\n");
        return 2;
    }
    AppDirectories::useRoot(arguments.at(1));
    const QStringList size = arguments.at(2).split(u'x');
    const QString fileName = arguments.at(3);
    const bool pageAll = arguments.contains(QStringLiteral("--page-all"));
    LaunchOptions options;
    options.windowSize = QSize(size.value(0).toInt(), size.value(1).toInt());
    AppDelegate delegate;
    delegate.didFinishLaunching(options);

    QElapsedTimer sinceBeat, sinceOpen;
    qint64 longestStall = 0;
    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&beat, &QTimer::timeout,
                     [&] { longestStall = std::max(longestStall, sinceBeat.restart()); });

    LocalFilePreviewViewController *screen = nullptr;
    bool reported = false;
    qint64 pushedMs = 0, itemsMs = -1, readyMs = 0;
    std::function<void()> pageOn = [&] {
        FilePreviewController *previewer = screen->previewController();
        if (previewer->currentPreviewItemIndex() + 1 >= previewer->count()) {
            std::printf("paged %d pictures: longest main-thread stall %lld ms, peak memory %ld MB\n",
                        int(previewer->count()), (long long)longestStall, peakMegabytes());
            finish();
        }
        previewer->showNextItem();
        if (previewer->isCurrentItemShown())
            afterNextFrame(delegate.window(), pageOn);
        else
            QObject::connect(previewer, &FilePreviewController::currentItemShownChanged,
                             delegate.window(),
                             [&] { afterNextFrame(delegate.window(), pageOn); },
                             Qt::SingleShotConnection);
    };
    const auto shown = [&] {
        const qint64 drawnMs = sinceOpen.elapsed();
        std::printf("open to first drawn frame: %lld ms\n", (long long)drawnMs);
        std::printf("phases: screen and page made %lld ms, items in %lld ms, content ready %lld "
                    "ms, drawn %lld ms\n",
                    (long long)pushedMs, (long long)itemsMs, (long long)readyMs,
                    (long long)drawnMs);
        if (!pageAll)
            finish();
        sinceBeat.start();
        beat.start(1);
        pageOn();
    };
    QObject::connect(
        delegate.viewController(), &KPDocumentPickerViewController::initialItemsLoaded,
        [&] {
            afterNextFrame(delegate.window(), [&] {
                sinceOpen.start();
                delegate.viewController()->openFileNamed(fileName);
                pushedMs = sinceOpen.elapsed();
                screen = qobject_cast<LocalFilePreviewViewController *>(
                    delegate.navigationController()->topViewController());
                if (!screen) {
                    std::fprintf(stderr, "%s was not opened\n", qPrintable(fileName));
                    QCoreApplication::exit(1);
                    return;
                }
                FilePreviewController *previewer = screen->previewController();
                if (previewer->count() > 0)
                    itemsMs = pushedMs;
                QObject::connect(previewer, &FilePreviewController::itemsChanged, [&] {
                    if (itemsMs < 0)
                        itemsMs = sinceOpen.elapsed();
                });
                const auto ready = [&] {
                    if (reported || !screen->isContentShown())
                        return;
                    reported = true;
                    readyMs = sinceOpen.elapsed();
                    afterNextFrame(delegate.window(), shown);
                };
                QObject::connect(screen, &LocalFilePreviewViewController::contentShownChanged,
                                 ready);
                ready();
            });
        });
    return QGuiApplication::exec();
}
