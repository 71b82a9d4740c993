#include "TrashViewController.h"

#include "AlertController.h"
#include "DispatchQueue.h"
#include "FileActionJob.h"
#include "FileRowPicture.h"
#include "HomePaths.h"
#include "ItemDeletion.h"
#include "KPDocumentPickerMenuItem.h"
#include "NavigationController.h"
#include "Trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace {

// A row of the Trash screen: the listing's item, with the entry it shows.
struct TrashItem : KPDocumentPickerItem {
    TrashEntry entry;
};

KPDocumentPickerItems itemsFor(const QList<TrashEntry> &entries)
{
    KPDocumentPickerItems items;
    for (const TrashEntry &entry : entries) {
        auto item = std::make_shared<TrashItem>();
        item->entry = entry;
        item->fileName = QFileInfo(entry.originalPath).fileName();
        if (item->fileName.isEmpty())
            item->fileName = QFile::decodeName(entry.name);
        struct stat info {};
        if (::lstat(QFile::encodeName(entry.path()).constData(), &info) == 0) {
            item->isFolder = S_ISDIR(info.st_mode);
            item->fileSize = item->isFolder ? 0 : quint64(info.st_size);
        }
        // The date the rows show and sort by is the deletion's.
        item->lastModifiedDate = entry.deletionDate;
        items.append(item);
    }
    return items;
}

DispatchQueue &listingQueue()
{
    static DispatchQueue queue(QStringLiteral("TrashViewController.listingQueue"));
    return queue;
}

} // namespace

TrashViewController::TrashViewController(QObject *parent)
    : KPDocumentPickerViewController(QStringLiteral("/"), parent)
{
}

TrashEntry TrashViewController::entryOf(const KPDocumentPickerItemPtr &item)
{
    // Every item of this screen is made by itemsFor.
    return item ? std::static_pointer_cast<TrashItem>(item)->entry : TrashEntry{};
}

QString TrashViewController::folderShown(const QString &path)
{
    const QString folder = QFileInfo(path).path();
    if (const auto inHome = HomePaths::listingPath(folder))
        return tr("Documents") + *inHome;
    const QString user = QDir::homePath();
    if (folder == user || folder.startsWith(user + u'/'))
        return u'~' + folder.mid(user.size());
    return folder;
}

// ----------------------------------------------------------------------------- life cycle

void TrashViewController::viewDidLoad()
{
    KPDocumentPickerViewController::viewDidLoad();
    setDataSource(this);
    setTitle(tr("Trash"));
    setEmptyFolderHint(tr("Deleted items stay here until you empty the Trash."));
    showNewestFirst();
    if (auto *stack = navigationController())
        stack->setToolbarHidden(false, true);
    configureToolbar();
}

void TrashViewController::viewWillAppear(bool animated)
{
    KPDocumentPickerViewController::viewWillAppear(animated);
    // Other programs trash and restore too.
    reloadItemsFromDataSource();
}

void TrashViewController::configureToolbar()
{
    if (!toolBarLabel)
        toolBarLabel = BarButtonItem::label(tr("Loading..."), 12, this);
    const auto action = [this](void (TrashViewController::*tapped)()) {
        return BarButtonItem::calling(this, tapped);
    };
    using Style = BarButtonItem::Style;
    m_emptyButton = BarButtonItem::titled(tr("Empty Trash"), Style::Plain,
                                          action(&TrashViewController::emptyTrashButtonTapped), this);
    m_restoreButton = BarButtonItem::titled(tr("Restore"), Style::Plain,
                                            action(&TrashViewController::restoreButtonTapped), this);
    m_deleteButton =
        BarButtonItem::titled(tr("Delete Permanently"), Style::Plain,
                              action(&TrashViewController::deletePermanentlyButtonTapped), this);
    for (auto *button : {m_emptyButton, m_restoreButton, m_deleteButton})
        button->setTitleFontSize(15);
    auto *space = BarButtonItem::flexibleSpace(this);
    m_browsingToolbar = {space, toolBarLabel.data(), space, m_emptyButton};
    m_editingToolbar = {m_restoreButton, space, toolBarLabel.data(), space, m_deleteButton};
    setToolbarItems(m_browsingToolbar);
    updateToolbarItems();
}

// ----------------------------------------------------------------------------- data source

void TrashViewController::requestItemsForFilePath(
    KPDocumentPickerViewController *, const QString &,
    std::function<void(const KPDocumentPickerItems &)> completionHandler)
{
    QPointer<QObject> context(this);
    listingQueue().async([context, completionHandler] {
        const auto items = itemsFor(Trash::entries(Trash::trashDirectoriesInUse()));
        DispatchQueue::main(context, [completionHandler, items] { completionHandler(items); });
    });
}

std::optional<QString> TrashViewController::titleForFilePath(KPDocumentPickerViewController *,
                                                             const QString &)
{
    return tr("Trash");
}

void TrashViewController::configureCell(KPDocumentPickerViewController *,
                                        KPDocumentPickerTableViewCell *cell,
                                        const KPDocumentPickerItemPtr &item)
{
    const TrashEntry entry = entryOf(item);
    cell->setMenuItems(KPDocumentPickerMenuItem::entries(
        QVariant::fromValue(item), {{tr("Restore"), "restoreAction:"},
                                    {tr("Delete Permanently"), "deletePermanentlyAction:"}}));
    cell->setDetailText(tr("From %1").arg(folderShown(entry.originalPath)) +
                        QStringLiteral(" \u2022 ") + item->localizedMetadata());
    // A trashed folder is one item here, not a place to go.
    cell->setAccessory(TableViewCell::Accessory::None);
    if (!item->isFolder)
        FileRowPicture::show(cell, item->fileName, entry.path());
}

// ----------------------------------------------------------------------------- content

void TrashViewController::setEditing(bool editing, bool animated)
{
    setToolbarItems(editing ? m_editingToolbar : m_browsingToolbar);
    KPDocumentPickerViewController::setEditing(editing, animated);
}

void TrashViewController::updateViewContent()
{
    KPDocumentPickerViewController::updateViewContent();
    if (m_emptyButton)
        m_emptyButton->setEnabled(!items().isEmpty());
}

void TrashViewController::updateToolbarItems()
{
    const bool chosen = isEditing() && !tableView()->indexPathsForSelectedRows().isEmpty();
    for (auto *button : {m_restoreButton, m_deleteButton}) {
        if (button)
            button->setEnabled(chosen);
    }
    if (toolBarLabel)
        updateFooterLabel();
}

void TrashViewController::didSelectRow(TableView *table, IndexPath indexPath)
{
    if (isEditing()) {
        KPDocumentPickerViewController::didSelectRow(table, indexPath);
        return;
    }
    tableView()->deselectRow(indexPath);
    if (const auto item = itemManager()->itemForIndexPath(indexPath.section, indexPath.row))
        offerChoicesFor(item);
}

void TrashViewController::deleteKeyPressed(bool)
{
    if (isEditing() && !tableView()->indexPathsForSelectedRows().isEmpty())
        deletePermanentlyButtonTapped();
}

// ----------------------------------------------------------------------------- actions

QList<TrashEntry> TrashViewController::selectedEntries()
{
    QList<TrashEntry> entries;
    for (const auto &item : selectedItems())
        entries.append(entryOf(item));
    return entries;
}

void TrashViewController::offerChoicesFor(const KPDocumentPickerItemPtr &item)
{
    const TrashEntry entry = entryOf(item);
    auto *sheet = new AlertController(QStringLiteral("“%1”").arg(item->fileName),
                                      tr("Deleted from “%1”.").arg(folderShown(entry.originalPath)),
                                      AlertController::Style::ActionSheet);
    QPointer<TrashViewController> weakSelf(this);
    sheet->addAction(tr("Restore"), AlertAction::Style::Default, [weakSelf, entry] {
        if (weakSelf)
            weakSelf->restore({entry});
    });
    sheet->addAction(tr("Delete Permanently"), AlertAction::Style::Destructive, [weakSelf, item] {
        if (weakSelf)
            weakSelf->confirmErase({entryOf(item)}, ItemDeletion::sheetText(false, 1, item->fileName),
                                   tr("Delete Permanently"));
    });
    sheet->addAction(tr("Cancel"), AlertAction::Style::Cancel);
    present(sheet, true);
}

void TrashViewController::restoreButtonTapped()
{
    restore(selectedEntries());
}

void TrashViewController::restoreAction(MenuController *sender)
{
    if (const auto item = KPDocumentPickerMenuItem::dataItemOf(sender).value<KPDocumentPickerItemPtr>())
        restore({entryOf(item)});
}

void TrashViewController::restore(const QList<TrashEntry> &entries)
{
    if (entries.isEmpty())
        return;
    // Where each restored item was meant to go, and where it went.
    auto placed = std::make_shared<QList<std::pair<QString, QString>>>();
    QList<FileActionJob::Operation> operations;
    for (const TrashEntry &entry : entries)
        operations.append([entry, placed](Error *error) {
            const auto at = Trash::restore(entry, error);
            if (at)
                placed->append({entry.originalPath, *at});
            return at.has_value();
        });
    QPointer<TrashViewController> weakSelf(this);
    FileActionJob::run(tr("Restoring..."), std::move(operations), this,
                       [weakSelf, placed](const QList<Error> &failures) {
                           weakSelf->finish(failures);
                           weakSelf->sayRestored(*placed);
                       });
}

void TrashViewController::sayRestored(const QList<std::pair<QString, QString>> &placed)
{
    if (placed.size() > 1) {
        textNotice()->show(tr("%n item(s) were put back where they were.", nullptr, int(placed.size())));
        return;
    }
    if (placed.isEmpty())
        return;
    const QString wanted = QFileInfo(placed.first().first).fileName();
    const QString name = QFileInfo(placed.first().second).fileName();
    const QString folder = folderShown(placed.first().second);
    textNotice()->show(name == wanted
                           ? tr("“%1” is back in “%2”.").arg(name, folder)
                           : tr("“%1” is back in “%2” as “%3”.").arg(wanted, folder, name));
}

void TrashViewController::deletePermanentlyButtonTapped()
{
    const auto items = selectedItems();
    if (items.isEmpty())
        return;
    confirmErase(selectedEntries(),
                 ItemDeletion::sheetText(false, int(items.size()), items.first()->fileName),
                 tr("Delete Permanently"));
}

void TrashViewController::deletePermanentlyAction(MenuController *sender)
{
    if (const auto item = KPDocumentPickerMenuItem::dataItemOf(sender).value<KPDocumentPickerItemPtr>())
        confirmErase({entryOf(item)}, ItemDeletion::sheetText(false, 1, item->fileName),
                     tr("Delete Permanently"));
}

void TrashViewController::emptyTrashButtonTapped()
{
    QList<TrashEntry> entries;
    for (const auto &item : items())
        entries.append(entryOf(item));
    if (entries.isEmpty())
        return;
    // What the user sees goes; anything trashed since waits for the next time.
    confirmErase(entries,
                 tr("%n item(s) in the Trash will be deleted and cannot be recovered.", nullptr,
                    int(entries.size())),
                 tr("Empty Trash"));
}

void TrashViewController::confirmErase(const QList<TrashEntry> &entries, const QString &text,
                                       const QString &button)
{
    auto *sheet = new AlertController(QString(""), text, AlertController::Style::ActionSheet);
    QPointer<TrashViewController> weakSelf(this);
    sheet->addAction(button, AlertAction::Style::Destructive, [weakSelf, entries] {
        if (weakSelf)
            weakSelf->erase(entries);
    });
    sheet->addAction(tr("Cancel"), AlertAction::Style::Cancel);
    present(sheet, true);
}

void TrashViewController::erase(const QList<TrashEntry> &entries)
{
    QList<FileActionJob::Operation> operations;
    for (const TrashEntry &entry : entries)
        operations.append([entry](Error *error) { return Trash::erase(entry, error); });
    QPointer<TrashViewController> weakSelf(this);
    FileActionJob::run(tr("Deleting..."), std::move(operations), this,
                       [weakSelf](const QList<Error> &failures) { weakSelf->finish(failures); });
}

void TrashViewController::finish(const QList<Error> &failures)
{
    for (const Error &error : failures)
        textNotice()->show(error.message);
    reloadItemsFromDataSource();
    if (isEditing())
        selectButtonTapped();
}
