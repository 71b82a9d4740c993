// Starts the real shell on a home folder and reports the longest time the main thread was busy
// without turning its event loop: from launch until the first listing is drawn, then (with
// TYPED) while TYPED is typed into the search field one key every 100 ms, erased again key by
// key, and the sort order is switched through name, size and date.
// Usage: stall-probe ROOT [TYPED]
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

namespace {

// The search texts of typing `typed` and erasing it again, key by key.
QStringList keystrokes(const QString &typed)
{
    QStringList texts;
    for (qsizetype n = 1; n <= typed.size(); ++n)
        texts.append(typed.left(n));
    for (qsizetype n = typed.size() - 1; n >= 0; --n)
        texts.append(typed.left(n));
    return texts;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: stall-probe ROOT [TYPED]\n");
        return 2;
    }
    AppDirectories::useRoot(QString::fromLocal8Bit(argv[1]));
    const QStringList texts =
        argc == 3 ? keystrokes(QString::fromLocal8Bit(argv[2])) : QStringList();
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
    auto *screen = delegate.viewController();
    QTimer keys;
    int step = 0;
    qint64 typingLongest = 0;
    const int sortSteps = 3;
    QObject::connect(&keys, &QTimer::timeout, [&] {
        if (step < texts.size()) {
            screen->headerView()->setSearchText(texts.at(step++));
            return;
        }
        if (step == texts.size()) {
            typingLongest = longest;
            longest = 0;
        }
        if (step < texts.size() + sortSteps) {
            const KPDocumentPickerSortType orders[] = {KPDocumentPickerSortTypeNameAscending,
                                                       KPDocumentPickerSortTypeSizeDescending,
                                                       KPDocumentPickerSortTypeDateDescending};
            screen->setSortingType(orders[step++ - texts.size()]);
            return;
        }
        keys.stop();
        QTimer::singleShot(1000, [&] {
            std::printf("longest main-thread stall while typing %lld keys: %lld ms; while "
                        "sorting %d times: %lld ms\n",
                        (long long)texts.size(), (long long)typingLongest, sortSteps,
                        (long long)longest);
            QCoreApplication::quit();
        });
    });
    QObject::connect(screen, &KPDocumentPickerViewController::initialItemsLoaded, [&] {
        // Let the rows be drawn and a little more, then report.
        QTimer::singleShot(500, [&] {
            std::printf("listed and drawn after %lld ms; longest main-thread stall after "
                        "launch: %lld ms\n",
                        (long long)clock.elapsed() - 500, (long long)longest);
            if (texts.isEmpty()) {
                QCoreApplication::quit();
                return;
            }
            longest = 0;
            sinceBeat.restart();
            keys.start(100);
        });
    });
    return QGuiApplication::exec();
}
