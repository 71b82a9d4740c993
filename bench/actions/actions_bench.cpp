// Deletes, trashes or moves items through the listing screen's own actions (the sheet answered
// as a user would, or the folder selector's "localMove") and reports how long the work took
// from the answer until the overlay went, and the main thread's longest stall from the action
// (for trash-all: from selecting every row) until the notice the job left has gone (the folder
// listed again meanwhile).
// Usage: actions-bench ROOT MODE ARGS
//   delete NAME      the home folder's item NAME selected, deleted for good (Shift+Delete)
//   trash NAME       the home folder's item NAME moved to the trash from its row menu
//   trash-all FOLDER every item of the folder FOLDER (a picker path) selected, moved to the trash
//   move SOURCE DEST the item at SOURCE (absolute) moved into DEST (a picker path)
//   copy SOURCE DEST the item at SOURCE (absolute) copied, then pasted into DEST (a picker path)
// ROOT is the application root (its Documents/home is the home folder).
#include "AlertController.h"
#include "AppDirectories.h"
#include "FileClipboard.h"
#include "KPDocumentPickerMenuItem.h"
#include "LocalStorageViewController.h"
#include "NavigationController.h"
#include "ProgressOverlay.h"
#include "TextNotice.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>
#include <cstdio>

namespace {

// The sheet's destructive button: what the user confirms.
void confirm(NavigationController &stack)
{
    auto *sheet = qobject_cast<AlertController *>(stack.presentedViewController());
    if (!sheet)
        qFatal("no sheet was shown");
    sheet->pick(0);
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(2);
    const bool known = (args.size() == 4 && (mode == "delete" || mode == "trash" ||
                                             mode == "trash-all")) ||
                       (args.size() == 5 && (mode == "move" || mode == "copy"));
    if (!known) {
        std::fprintf(stderr, "usage: actions-bench ROOT delete NAME | trash NAME | "
                             "trash-all FOLDER | move SOURCE DEST | copy SOURCE DEST\n");
        return 2;
    }
    AppDirectories::useRoot(args[1]);
    const QString folder = mode == "trash-all" ? args[3]
                           : mode == "copy"    ? args[4]
                                               : QStringLiteral("/");
    auto *screen = new LocalStorageViewController(folder);
    NavigationController stack(screen);

    QElapsedTimer clock, sinceBeat;
    qint64 longest = 0, elapsed = -1;
    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&beat, &QTimer::timeout,
                     [&] { longest = std::max(longest, sinceBeat.restart()); });
    // Done once the overlay goes; the stall is counted on until the notice it left (Undo) has
    // gone too, so the relisting after the job and the notice's end are measured with it.
    const auto quitOnceNoticeGone = [&] {
        if (!screen->textNotice()->isVisible())
            QTimer::singleShot(50, &app, &QCoreApplication::quit);
    };
    QObject::connect(screen->textNotice(), &TextNotice::changed, &app, [&] {
        if (elapsed >= 0)
            quitOnceNoticeGone();
    });
    QObject::connect(ProgressOverlay::shared(), &ProgressOverlay::changed, [&] {
        if (!ProgressOverlay::shared()->isVisible() && elapsed < 0 && clock.isValid()) {
            elapsed = clock.elapsed();
            quitOnceNoticeGone();
        }
    });
    // The stall counted from here: what the action itself costs the main thread.
    const auto startCounting = [&] {
        longest = 0;
        sinceBeat.restart();
    };
    const auto act = [&] {
        if (mode == "move") {
            startCounting();
            clock.start();
            screen->moveSelectorFinished(
                {{QStringLiteral("dist"), args[4]}, {QStringLiteral("source"), QStringList{args[3]}}});
            return;
        }
        if (mode == "copy") {
            FileClipboard::put({args[3]}, false);
            startCounting();
            clock.start();
            screen->paste();
            return;
        }
        if (mode == "trash") {
            auto item = std::make_shared<KPDocumentPickerItem>();
            item->fileName = args[3];
            KPDocumentPickerMenuItem entry(QStringLiteral("Delete"), "deleteAction:",
                                           QVariant::fromValue(KPDocumentPickerItemPtr(item)));
            auto *menu = MenuController::sharedMenuController();
            menu->showMenu(screen, {&entry}, {});
            startCounting();
            screen->deleteAction(menu);
            menu->hideMenu();
        } else {
            screen->selectButtonTapped();
            if (mode == "trash-all") {
                startCounting();
                screen->selectAllButtonTapped();
                screen->deleteButtonTapped();
            } else {
                for (int row = 0; row < screen->tableView()->rows()->rowCount(); ++row) {
                    const IndexPath path = screen->tableView()->rows()->indexPathAt(row);
                    if (screen->itemManager()->itemForIndexPath(path.section, path.row)->fileName ==
                        args[3])
                        screen->tableView()->selectRow(path);
                }
                startCounting();
                screen->deleteKeyPressed(true);
            }
        }
        clock.start();
        confirm(stack);
    };
    QTimer::singleShot(0, [&] {
        beat.start(1);
        sinceBeat.start();
        stack.beginAppearanceTransition(true, false);
        stack.endAppearanceTransition();
        if (mode == "move" || mode == "trash" || mode == "copy")
            act();
    });
    // Selections need the rows: once the listing is shown (the first one only).
    QObject::connect(screen, &KPDocumentPickerViewController::listingShown, screen, [&] {
        if ((mode == "delete" || mode == "trash-all") && !clock.isValid())
            act();
    });
    app.exec();
    std::printf("%lld %lld\n", elapsed, longest);
    return 0;
}
