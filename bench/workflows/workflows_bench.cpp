// Unpacks an archive or packs a folder through the listing screen's own routes (a tap on the
// archive's row; the rows selected in edit mode packed into a zip) and reports, on one line:
// milliseconds from the route's call until the compress queue is idle, the main thread's
// longest stall meanwhile (ms), how many distinct progress values reached the overlay per
// second of the job, and the longest wait between two of them (ms).
// Usage: workflows-bench HOME_ROOT unpack ARCHIVE_NAME | pack ARCHIVE_NAME
// HOME_ROOT is the application root (its Documents/home is the home folder); ARCHIVE_NAME is at
// the top of the home folder. "pack" selects every row of the home folder.
// Exits 1 when the route leaves no result (the unpacked folder or the zip).
#include "AlertController.h"
#include "AppDirectories.h"
#include "CompressQueue.h"
#include "LocalStorageViewController.h"
#include "NavigationController.h"
#include "ProgressOverlay.h"
#include "Utils.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>

namespace {

// The overlay's progress as the main thread sees it: each new value and the longest wait
// between two of them.
struct ProgressCount {
    int updates = 0;
    qint64 longestGap = 0;
    qint64 lastAt = -1;
    double last = -1;

    void seen(double progress, qint64 at)
    {
        if (progress < 0 || progress == last)
            return;
        last = progress;
        ++updates;
        if (lastAt >= 0)
            longestGap = std::max(longestGap, at - lastAt);
        lastAt = at;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool unpacking = args.size() == 4 && args[2] == QLatin1String("unpack");
    const bool packing = args.size() == 4 && args[2] == QLatin1String("pack");
    if (!unpacking && !packing) {
        std::fprintf(stderr, "usage: workflows-bench ROOT unpack ARCHIVE | pack ARCHIVE\n");
        return 2;
    }
    AppDirectories::useRoot(args[1]);
    const QString archivePath = Utils::documentsPath() + u'/' + args[3];
    // Where the result lands: the archive's name without its last extension, or the zip.
    const QString resultPath =
        unpacking ? Utils::documentsPath() + u'/' + QFileInfo(args[3]).completeBaseName()
                  : archivePath;
    auto *screen = new LocalStorageViewController(QStringLiteral("/"));
    NavigationController stack(screen);

    QElapsedTimer clock, sinceBeat;
    qint64 longest = 0, elapsed = -1;
    std::atomic<qint64> jobStart = -1, jobEnd = -1;
    ProgressCount progress;
    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&beat, &QTimer::timeout,
                     [&] { longest = std::max(longest, sinceBeat.restart()); });
    auto *overlay = ProgressOverlay::shared();
    QObject::connect(overlay, &ProgressOverlay::changed,
                     [&] { progress.seen(overlay->progress(), clock.elapsed()); });
    auto *queue = CompressQueue::shared();
    // Emitted on the queue's thread: the job's own span, without the password check before.
    QObject::connect(queue, &CompressQueue::jobStarted, queue,
                     [&] { jobStart = clock.elapsed(); }, Qt::DirectConnection);
    QObject::connect(queue, &CompressQueue::jobEnded, queue,
                     [&] { jobEnd = clock.elapsed(); }, Qt::DirectConnection);
    QObject::connect(queue, &CompressQueue::idle, [&] {
        if (elapsed >= 0)
            return;
        elapsed = clock.elapsed();
        // A little longer, so the listings reloaded after the job count in the stall too.
        QTimer::singleShot(300, &app, &QCoreApplication::quit);
    });
    // The route starts once the home folder is listed, as a user sees it before tapping.
    QObject::connect(screen, &KPDocumentPickerViewController::listingShown, [&] {
        if (clock.isValid())
            return;
        beat.start(1);
        sinceBeat.start();
        clock.start();
        if (unpacking) {
            screen->openFileNamed(args[3]);
            return;
        }
        screen->selectButtonTapped();
        screen->selectAllButtonTapped();
        // The compress dialog answered as a user would: the archive's name, no password, OK.
        screen->compressButtonTapped();
        auto *dialog = qobject_cast<AlertController *>(stack.presentedViewController());
        dialog->textFields().first()->setText(args[3]);
        dialog->pick(int(dialog->actions().size()) - 1);
    });
    stack.beginAppearanceTransition(true, false);
    stack.endAppearanceTransition();
    app.exec();

    if (!QFileInfo::exists(resultPath)) {
        std::fprintf(stderr, "workflows-bench: %s is missing after the job\n",
                     qPrintable(resultPath));
        return 1;
    }
    const qint64 jobMs = std::max<qint64>(1, jobEnd - jobStart);
    std::printf("%lld %lld %.1f %lld\n", elapsed, longest, progress.updates * 1000.0 / jobMs,
                progress.longestGap);
    return 0;
}
