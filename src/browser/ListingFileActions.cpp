#include "ListingFileActions.h"

#include "AlertController.h"
#include "CopyIntoFolder.h"
#include "DefaultApplication.h"
#include "FileClipboard.h"
#include "FileOperations.h"
#include "HomePaths.h"
#include "ItemDeletion.h"
#include "LocalFolderListing.h"
#include "LocalFolderSelectorViewController.h"
#include "LocalStorageViewController.h"
#include "MoveIntoFolder.h"
#include "NavigationController.h"
#include "NewFolderDialog.h"

#include <QFileInfo>
#include <QPointer>

ListingFileActions::ListingFileActions(LocalStorageViewController *screen)
    : QObject(screen), m_screen(screen)
{
}

void ListingFileActions::showFailures(const QList<Error> &failures, const QString &fallback)
{
    for (const Error &error : failures)
        m_screen->textNotice()->show(error.isSet() ? error.message : fallback);
}

std::function<void(const QList<Error> &)> ListingFileActions::whenDone(const QString &fallback,
                                                                      bool leavesEditing)
{
    return [weakSelf = QPointer<ListingFileActions>(this), fallback,
            leavesEditing](const QList<Error> &failures) {
        if (!weakSelf)
            return;
        weakSelf->showFailures(failures, fallback);
        weakSelf->m_screen->reloadItemsFromDataSource();
        if (leavesEditing)
            weakSelf->m_screen->leaveEditing();
    };
}

// ----------------------------------------------------------------------------- new folder

void ListingFileActions::createFolder()
{
    QPointer<LocalStorageViewController> screen(m_screen);
    NewFolderDialog::present(m_screen, HomePaths::diskPath(m_screen->filePath()), [screen] {
        if (screen)
            screen->reloadItemsFromDataSource();
    });
}

// ----------------------------------------------------------------------------- delete

void ListingFileActions::deleteSelection(bool forGood)
{
    const QString folder = HomePaths::diskPath(m_screen->filePath());
    ItemDeletion::confirm(m_screen, folder, m_screen->selectedNames(), forGood, false,
                          whenDone(tr("Delete failed"), true));
}

void ListingFileActions::deleteItem(const QString &name)
{
    const QString folder = HomePaths::diskPath(m_screen->filePath());
    ItemDeletion::confirm(m_screen, folder, {name}, false, true,
                          [done = whenDone(tr("Delete failed"), false)](
                              const QList<Error> &failures) {
                              for (const Error &error : failures)
                                  // Named by the menu action that asked for it.
                                  qWarning("deleteAction: %s", qPrintable(error.message));
                              done(failures);
                          });
}

// ----------------------------------------------------------------------------- rename

void ListingFileActions::presentRenameDialog(const KPDocumentPickerItemPtr &item)
{
    auto *alert = new AlertController(tr("Rename"), tr("Please enter a name."),
                                      AlertController::Style::Alert);
    QPointer<AlertTextField> field = alert->addTextField(tr("New Name"), item->fileName);
    alert->addAction(tr("Cancel"), AlertAction::Style::Cancel);
    QPointer<ListingFileActions> weakSelf(this);
    alert->addAction(tr("Done"), AlertAction::Style::Default, [weakSelf, field, item] {
        if (weakSelf && field)
            weakSelf->rename(item, field->text());
    });
    m_screen->present(alert, true);
}

void ListingFileActions::rename(const KPDocumentPickerItemPtr &item, const QString &newName)
{
    Error error;
    if (!FileOperations::renameItemAtPath(m_screen->pathOnDisk(item), newName, &error))
        showFailures({error}, tr("Rename failed"));
    else if (const QString hidden = LocalFolderListing::hiddenNameNotice(newName); !hidden.isEmpty())
        m_screen->textNotice()->show(hidden);
    m_screen->reloadItemsFromDataSource();
}

// ----------------------------------------------------------------------------- move

void ListingFileActions::presentFolderSelector(const QStringList &sourceFiles)
{
    auto *selector = new LocalFolderSelectorViewController(QStringLiteral("/"));
    selector->setIsMoveItem(true);
    selector->setSourceFiles(sourceFiles);
    auto *stack = new NavigationController(selector);
    stack->setModalPresentationStyle(ViewController::PresentationStyle::FormSheet);
    m_screen->present(stack, true);
}

void ListingFileActions::moveInto(const QStringList &sources, const QString &destination)
{
    MoveIntoFolder::run(m_screen, sources, HomePaths::diskPath(destination),
                        LocalFolderListing::titleForFilePath(destination),
                        whenDone(tr("Move failed"), true));
}

// ----------------------------------------------------------------------------- copying

void ListingFileActions::copyItems(const QStringList &paths, bool cut)
{
    FileClipboard::put(paths, cut);
    const QString name = QFileInfo(paths.value(0)).fileName();
    if (cut)
        m_screen->textNotice()->show(paths.size() == 1
                                         ? tr("“%1” will move where you paste it.").arg(name)
                                         : tr("%n items will move where you paste them.", "",
                                              int(paths.size())));
    else
        m_screen->textNotice()->show(
            paths.size() == 1 ? tr("“%1” is copied: paste it into any folder.").arg(name)
                              : tr("%n items are copied: paste them into any folder.", "",
                                   int(paths.size())));
}

void ListingFileActions::paste()
{
    const auto held = FileClipboard::contents();
    if (!held) {
        m_screen->textNotice()->show(tr("There is nothing to paste. Copy or cut some items first."));
        return;
    }
    QPointer<ListingFileActions> weakSelf(this);
    const auto finished = [weakSelf, held](const QList<Error> &failures) {
        if (!weakSelf)
            return;
        weakSelf->showFailures(failures, tr("Paste failed"));
        if (held->cut && failures.isEmpty())
            FileClipboard::clearIfHolding(held->paths);
        weakSelf->m_screen->reloadItemsFromDataSource();
    };
    const QString folder = HomePaths::diskPath(m_screen->filePath());
    const QString folderName = LocalFolderListing::titleForFilePath(m_screen->filePath());
    if (held->cut)
        MoveIntoFolder::run(m_screen, held->paths, folder, folderName, finished);
    else
        CopyIntoFolder::run(m_screen, held->paths, folder, folderName, finished);
}

void ListingFileActions::duplicate(const QString &path)
{
    CopyIntoFolder::run(m_screen, {path}, HomePaths::diskPath(m_screen->filePath()),
                        LocalFolderListing::titleForFilePath(m_screen->filePath()),
                        whenDone(tr("Duplicate failed"), false));
}

void ListingFileActions::openWithDefaultApp(const QString &path)
{
    DefaultApplication::open(path, m_screen->textNotice());
}
