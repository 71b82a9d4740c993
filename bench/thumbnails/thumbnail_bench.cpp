// Makes the thumbnails of every picture in a folder at one size with the real making code, then
// asks for each again, as a row scrolled back into view does, and prints how long both took and
// how long the main thread was ever busy at a time, so bench/thumbnails.sh can set it beside
// `vipsthumbnail`. The cache lies under OMBRISK_ROOT (or --root), a fresh one when neither.
#include "AppDirectories.h"
#include "Thumbnail.h"
#include "Utils.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// Times every event the main thread handles: the thumbnails' deliveries are events.
class TimedApplication : public QGuiApplication {
public:
    using QGuiApplication::QGuiApplication;
    double longestEventMs = 0;

    bool notify(QObject *receiver, QEvent *event) override
    {
        QElapsedTimer clock;
        clock.start();
        const bool handled = QGuiApplication::notify(receiver, event);
        if (QThread::currentThread() == thread()) // notify sees the queues' events too
            longestEventMs = std::max(longestEventMs, clock.nsecsElapsed() / 1e6);
        return handled;
    }
};

// Bytes this process has read through read() and its kin so far.
qint64 bytesRead()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray first = io.readLine(); // "rchar: N"
    return first.mid(first.indexOf(':') + 1).trimmed().toLongLong();
}

// Waits until every making task queued so far has run and sent its result.
void drainQueue(QObject *context)
{
    QEventLoop loop;
    Thumbnail::sharedImageThumbnailQueue().async(
        [&] { DispatchQueue::main(context, [&] { loop.quit(); }); });
    loop.exec();
}

double requestTimed(ImageView &view, const QString &path, double &longestCallMs)
{
    QElapsedTimer clock;
    clock.start();
    Thumbnail::cr_setLocalImageFilePath(&view, path);
    longestCallMs = std::max(longestCallMs, clock.nsecsElapsed() / 1e6);
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TimedApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 3 || arguments.at(2).toDouble() <= 0) {
        std::fprintf(stderr, "usage: thumbnail-bench DIR SIZE [--root CACHE_ROOT]\n");
        return 2;
    }
    QTemporaryDir freshRoot;
    AppDirectories::useRoot(freshRoot.path());
    AppDirectories::configureFromCommandLine(arguments);
    const QDir folder(arguments.at(1));
    const double side = arguments.at(2).toDouble();

    QStringList pictures;
    for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
        if (Utils::isSupportPhotoFileFormat(QFileInfo(name).suffix()))
            pictures.append(folder.filePath(name));

    double longestCallMs = 0;
    std::vector<std::unique_ptr<ImageView>> views;
    QElapsedTimer clock;
    clock.start();
    for (const QString &path : pictures) {
        views.push_back(std::make_unique<ImageView>(QSizeF(side, side)));
        requestTimed(*views.back(), path, longestCallMs);
    }
    drainQueue(&app);
    const double firstPassMs = clock.nsecsElapsed() / 1e6;
    const auto made = std::count_if(views.begin(), views.end(),
                                    [](const auto &view) { return !view->image().isNull(); });

    std::vector<double> servedMs;
    const qint64 readBefore = bytesRead();
    const qint64 readingItself = bytesRead() - readBefore; // /proc/self/io counts its own read
    for (const QString &path : pictures) {
        ImageView view(QSizeF(side, side));
        QEventLoop loop;
        QObject::connect(&view, &ImageView::imageChanged, &loop, &QEventLoop::quit);
        clock.restart();
        requestTimed(view, path, longestCallMs);
        loop.exec();
        servedMs.push_back(clock.nsecsElapsed() / 1e6);
    }
    const qint64 readDuring = bytesRead() - readBefore - 2 * readingItself;
    std::sort(servedMs.begin(), servedMs.end());

    std::printf("pictures %lld size %g: first pass %lld shown in %.1f ms\n",
                (long long)pictures.size(), side, (long long)made, firstPassMs);
    if (!servedMs.empty())
        std::printf("second request: median %.3f ms, max %.3f ms, %lld bytes read "
                    "(the event loop's wake-ups read 8 each)\n",
                    servedMs[servedMs.size() / 2], servedMs.back(), (long long)readDuring);
    std::printf("main thread: longest event %.2f ms, longest request call %.3f ms\n",
                app.longestEventMs, longestCallMs);
    return made == pictures.size() ? 0 : 1;
}
