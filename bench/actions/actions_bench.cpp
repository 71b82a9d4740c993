// Deletes or moves one item through the listing screen's own actions (the menu's Delete with
// its sheet answered, or the folder selector's "localMove") and reports how long the work took
// until the screen had its listing back, and the main thread's longest stall meanwhile.
// Usage: actions-bench HOME_ROOT delete NAME | move SOURCE_PATH DEST_PICKER_PATH
// HOME_ROOT is the application root (its Documents/home is the home folder).
#include "AlertController.h"
#include "AppDirectories.h"
#include "KPDocumentPickerMenuItem.h"
#include "LocalStorageViewController.h"
#include "NavigationController.h"
#include "ProgressOverlay.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool deleting = args.size() == 4 && args[2] == QLatin1String("delete");
    const bool moving = args.size() == 5 && args[2] == QLatin1String("move");
    if (!deleting && !moving) {
        std::fprintf(stderr, "usage: actions-bench ROOT delete NAME | move SOURCE DEST\n");
        return 2;
    }
    AppDirectories::useRoot(args[1]);
    auto *screen = new LocalStorageViewController(QStringLiteral("/"));
    NavigationController stack(screen);
    stack.beginAppearanceTransition(true, false);
    stack.endAppearanceTransition();

    QElapsedTimer clock, sinceBeat;
    qint64 longest = 0, elapsed = -1;
    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&beat, &QTimer::timeout,
                     [&] { longest = std::max(longest, sinceBeat.restart()); });
    QObject::connect(ProgressOverlay::shared(), &ProgressOverlay::changed, [&] {
        if (!ProgressOverlay::shared()->isVisible() && elapsed < 0) {
            elapsed = clock.elapsed();
            QTimer::singleShot(50, &app, &QCoreApplication::quit);
        }
    });
    QTimer::singleShot(0, [&] {
        beat.start(1);
        sinceBeat.start();
        clock.start();
        if (moving) {
            screen->moveSelectorFinished(
                {{QStringLiteral("dist"), args[4]}, {QStringLiteral("source"), QStringList{args[3]}}});
            return;
        }
        auto item = std::make_shared<KPDocumentPickerItem>();
        item->fileName = args[3];
        item->isFolder = true;
        KPDocumentPickerMenuItem entry(QStringLiteral("Delete"), "deleteAction:",
                                       QVariant::fromValue(KPDocumentPickerItemPtr(item)));
        auto *menu = MenuController::sharedMenuController();
        menu->showMenu(screen, {&entry}, {});
        screen->deleteAction(menu);
        menu->hideMenu();
        qobject_cast<AlertController *>(stack.presentedViewController())->pick(0);
    });
    app.exec();
    std::printf("%lld %lld\n", elapsed, longest);
    return 0;
}
