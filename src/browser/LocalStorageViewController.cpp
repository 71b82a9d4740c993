#include "LocalStorageViewController.h"

#include "ArchiveContentsViewController.h"
#include "ArchiveKind.h"
#include "FilePreviewController.h"
#include "FileRowPicture.h"
#include "HomePaths.h"
#include "IncomingFile.h"
#include "KPDocumentPickerMenuItem.h"
#include "LocalFilePreviewViewController.h"
#include "LocalFolderListing.h"
#include "NavigationController.h"
#include "NotificationCenter.h"
#include "TrashViewController.h"
#include "Utils.h"

#include <QFileInfo>
#include <QUrl>
#include <utility>

namespace {

const QString localMoveNotification = QStringLiteral("localMove");
// Long enough to reach the notice's Open button.
constexpr double mediaNoticeSeconds = 6;

} // namespace

LocalStorageViewController::LocalStorageViewController(const QString &filePath, QObject *parent)
    : KPDocumentPickerViewController(filePath, parent)
{
}

LocalStorageViewController::LocalStorageViewController(
    KPDocumentPickerViewController *rootViewController, const QString &filePath, QObject *parent)
    : KPDocumentPickerViewController(rootViewController, filePath, parent)
{
}

// ----------------------------------------------------------------------------- life cycle

void LocalStorageViewController::viewDidLoad()
{
    KPDocumentPickerViewController::viewDidLoad();
    setDataSource(this);
    setDocumentPickerDelegate(this);
    if (auto *stack = navigationController())
        stack->setToolbarHidden(false, true);
    // The picker's reload handler already runs updateViewContent, which this screen replaces.
    showNewestFirst();
    setBackButtonTitle(QStringLiteral(""));
    configureToolbar();
    if (filePath() == QLatin1String("/"))
        addTrashButton();
}

void LocalStorageViewController::addTrashButton()
{
    QPointer<LocalStorageViewController> weakSelf(this);
    auto *trash = BarButtonItem::titled(tr("Trash"), BarButtonItem::Style::Plain, [weakSelf] {
        if (weakSelf && weakSelf->navigationController())
            weakSelf->navigationController()->pushViewController(new TrashViewController, true);
    }, this);
    setBrowsingLeftBarButtonItems({trash});
}

void LocalStorageViewController::viewWillAppear(bool animated)
{
    KPDocumentPickerViewController::viewWillAppear(animated);
    // Every appearance lists again, so changes made elsewhere show.
    reloadItemsFromDataSource();
}

void LocalStorageViewController::viewDidAppear(bool animated)
{
    KPDocumentPickerViewController::viewDidAppear(animated);
    NotificationCenter::defaultCenter()->addObserver(
        this, localMoveNotification,
        [this](const QVariant &info) { moveSelectorFinished(info.toMap()); });
    m_liveRelisting->follow(HomePaths::diskPath(filePath()));
}

void LocalStorageViewController::viewDidDisappear(bool animated)
{
    KPDocumentPickerViewController::viewDidDisappear(animated);
    NotificationCenter::defaultCenter()->removeObserver(this, localMoveNotification);
    // Listed again on the next appearance anyway.
    m_liveRelisting->follow({});
}

// ----------------------------------------------------------------------------- data source

void LocalStorageViewController::requestItemsForFilePath(
    KPDocumentPickerViewController *picker, const QString &filePath,
    std::function<void(const KPDocumentPickerItems &)> completionHandler)
{
    QPointer<KPDocumentPickerViewController> asking(picker);
    LocalFolderListing::itemsInFolderLater(
        HomePaths::diskPath(filePath), listingDelay, this,
        [asking, completionHandler](const KPDocumentPickerItems &items) {
            if (asking && !items.isEmpty())
                asking->hideFeedbackLabel();
            completionHandler(items);
        });
}

std::optional<QString>
LocalStorageViewController::titleForFilePath(KPDocumentPickerViewController *,
                                             const QString &filePath)
{
    return LocalFolderListing::titleForFilePath(filePath);
}

void LocalStorageViewController::configureCell(KPDocumentPickerViewController *,
                                               KPDocumentPickerTableViewCell *cell,
                                               const KPDocumentPickerItemPtr &item)
{
    QList<std::pair<QString, QByteArray>> entries = {{tr("Delete"), "deleteAction:"},
                                                     {tr("Rename..."), "renameAction:"},
                                                     {tr("Move..."), "moveAction:"},
                                                     {tr("Copy"), "copyItemAction:"},
                                                     {tr("Duplicate"), "duplicateAction:"}};
    if (!item->isFolder)
        entries.append({tr("Open With Default App"), "openWithAction:"});
    entries.append({tr("Info..."), "infoAction:"});
    if (!item->isFolder && ArchiveKinds::kindForPath(item->fileName) != ArchiveKind::None)
        entries.prepend({tr("Show Contents"), "showContentsAction:"});
    cell->setMenuItems(KPDocumentPickerMenuItem::entries(QVariant::fromValue(item), entries));
    if (item->isFolder)
        return;
    FileRowPicture::show(cell, item->fileName, pathOnDisk(item));
    cell->setAccessory(TableViewCell::Accessory::DetailButton);
}

void LocalStorageViewController::didSelectItems(KPDocumentPickerViewController *,
                                                const KPDocumentPickerItems &items, const QString &)
{
    dismiss(true);
    if (items.size() == 1)
        openFileNamed(items.constFirst()->fileName);
}

// ----------------------------------------------------------------------------- content and toolbar

void LocalStorageViewController::updateViewContent()
{
    // The index strip may have come or gone with the new content.
    resetHeaderConstraints();
    const bool hasItems = !items().isEmpty();
    if (selectButton())
        selectButton()->setEnabled(hasItems);
    m_toolbar->setSelectionButtonsEnabled(hasItems && isEditing());
    updateFooterLabel();
}

void LocalStorageViewController::setEditing(bool editing, bool animated)
{
    KPDocumentPickerViewController::setEditing(editing, animated);
    m_toolbar->showFor(editing);
    updateFooterLabel();
}

void LocalStorageViewController::configureToolbar()
{
    m_toolbar->build();
}

void LocalStorageViewController::updateFooterLabel()
{
    KPDocumentPickerViewController::updateFooterLabel();
    if (isEditing())
        m_toolbar->setSelectionButtonsEnabled(tableView()->numberOfSelectedRows() > 0);
}

void LocalStorageViewController::selectAllButtonTapped()
{
    KPDocumentPickerViewController::selectAllButtonTapped();
    if (allCellsSelected()) {
        m_toolbar->deleteButton()->setEnabled(true);
        m_toolbar->compressButton()->setEnabled(true);
    }
    updateFooterLabel();
}

void LocalStorageViewController::didSelectRow(TableView *tableView, IndexPath indexPath)
{
    if (isEditing())
        updateFooterLabel();
    KPDocumentPickerViewController::didSelectRow(tableView, indexPath);
}

void LocalStorageViewController::didDeselectRow(TableView *tableView, IndexPath indexPath)
{
    if (isEditing())
        updateFooterLabel();
    KPDocumentPickerViewController::didDeselectRow(tableView, indexPath);
}

void LocalStorageViewController::accessoryButtonTapped(TableView *, IndexPath indexPath)
{
    if (auto item = itemManager()->itemForIndexPath(indexPath.section, indexPath.row))
        showPropertiesOfItemNamed(item->fileName);
}

// ----------------------------------------------------------------------------- preview

void LocalStorageViewController::didChangedValue(ViewController *, const QVariant &)
{
    reloadItemsFromDataSource();
}

void LocalStorageViewController::openFileNamed(const QString &fileName)
{
    const QString extension = QFileInfo(fileName).suffix().toLower();
    // Media first: the preview plays nothing; the desktop's player is offered instead.
    if (Utils::isSupportMediaFileFormat(extension)) {
        QPointer<LocalStorageViewController> weakSelf(this);
        const QString path = HomePaths::diskPath(filePath(), fileName);
        textNotice()->show(tr("“%1” can't be shown here.").arg(fileName), tr("Open"),
                           [weakSelf, path] {
                               if (weakSelf)
                                   weakSelf->m_fileActions->openWithDefaultApp(path);
                           },
                           mediaNoticeSeconds);
        return;
    }
    if (const auto destination = ListingArchiveWorkflows::unpackingDestination(fileName)) {
        m_archiveWorkflows->unpackArchiveAtPath(HomePaths::diskPath(filePath(), fileName),
                                                *destination);
        return;
    }
    auto *screen = new LocalFilePreviewViewController;
    screen->setFilePath(HomePaths::diskPath(filePath(), fileName));
    screen->setSimpleValueChangedDelegate(this);
    if (FilePreviewController::canPreviewItem(screen->filePath()))
        screen->setTitle(fileName);
    navigationController()->pushViewController(screen, true);
}

void LocalStorageViewController::showPropertiesOfItemNamed(const QString &name)
{
    auto *screen = new LocalFilePreviewViewController;
    screen->setFilePath(HomePaths::diskPath(filePath(), name));
    screen->setOnlyShowFileProperty(true);
    screen->setTitle(name);
    screen->setSimpleValueChangedDelegate(this);
    navigationController()->pushViewController(screen, true);
}

// ----------------------------------------------------------------------------- for the jobs

QString LocalStorageViewController::pathOnDisk(const KPDocumentPickerItemPtr &item) const
{
    return HomePaths::diskPath(filePath(), item->fileName);
}

QStringList LocalStorageViewController::selectedPaths()
{
    // The folder's path made once: made per item it costs a stall for a large selection.
    const QString folder = HomePaths::diskPath(filePath()) + u'/';
    QStringList paths;
    for (const QString &name : selectedNames())
        paths.append(folder + name);
    return paths;
}

QStringList LocalStorageViewController::selectedNames()
{
    const KPDocumentPickerItems items = selectedItems();
    QStringList names;
    names.reserve(items.size());
    for (const auto &item : items)
        names.append(item->fileName);
    return names;
}

void LocalStorageViewController::leaveEditing()
{
    if (isEditing())
        selectButtonTapped();
}

ViewController *LocalStorageViewController::visibleScreen()
{
    auto *stack = navigationController();
    return stack && stack->topViewController() ? stack->topViewController() : this;
}

int LocalStorageViewController::liveRelistCount() const
{
    return m_liveRelisting->relistCount();
}

void LocalStorageViewController::handleFileFromURL(const QString &path)
{
    IncomingFile::receive(this, path);
}

// ----------------------------------------------------------------------------- menu

KPDocumentPickerItemPtr LocalStorageViewController::menuItem(MenuController *sender)
{
    return KPDocumentPickerMenuItem::dataItemOf(sender).value<KPDocumentPickerItemPtr>();
}

void LocalStorageViewController::deleteAction(MenuController *sender)
{
    if (const auto item = menuItem(sender))
        m_fileActions->deleteItem(item->fileName);
}

void LocalStorageViewController::renameAction(MenuController *sender)
{
    if (const auto item = menuItem(sender))
        m_fileActions->presentRenameDialog(item);
}

void LocalStorageViewController::moveAction(MenuController *sender)
{
    const auto item = menuItem(sender);
    if (!item)
        return;
    for (const IndexPath &path : tableView()->indexPathsForSelectedRows())
        tableView()->deselectRow(path);
    m_fileActions->presentFolderSelector({pathOnDisk(item)});
}

void LocalStorageViewController::infoAction(MenuController *sender)
{
    if (const auto item = menuItem(sender))
        showPropertiesOfItemNamed(item->fileName);
}

void LocalStorageViewController::copyItemAction(MenuController *sender)
{
    if (const auto item = menuItem(sender))
        m_fileActions->copyItems({pathOnDisk(item)}, false);
}

void LocalStorageViewController::duplicateAction(MenuController *sender)
{
    if (const auto item = menuItem(sender))
        m_fileActions->duplicate(pathOnDisk(item));
}

void LocalStorageViewController::openWithAction(MenuController *sender)
{
    if (const auto item = menuItem(sender))
        m_fileActions->openWithDefaultApp(pathOnDisk(item));
}

void LocalStorageViewController::showContentsAction(MenuController *sender)
{
    if (const auto item = menuItem(sender))
        showContentsOfArchiveNamed(item->fileName);
}

void LocalStorageViewController::showContentsOfArchiveNamed(const QString &name,
                                                            const QString &innerPath)
{
    if (ArchiveKinds::kindForPath(name) == ArchiveKind::None)
        return;
    ArchiveContentsViewController::show(navigationController(),
                                        HomePaths::diskPath(filePath(), name), innerPath);
}

// ----------------------------------------------------------------------------- toolbar

void LocalStorageViewController::createFolderButtonTapped()
{
    m_fileActions->createFolder();
}

void LocalStorageViewController::compressButtonTapped()
{
    m_archiveWorkflows->compressSelection();
}

void LocalStorageViewController::deleteButtonTapped()
{
    m_fileActions->deleteSelection(false);
}

void LocalStorageViewController::moveBarButtonTaped()
{
    m_fileActions->presentFolderSelector(selectedPaths());
}

void LocalStorageViewController::moveSelectorFinished(const QVariantMap &userInfo)
{
    m_fileActions->moveInto(userInfo.value("source").toStringList(),
                            userInfo.value("dist").toString());
}

void LocalStorageViewController::copyButtonTapped()
{
    m_fileActions->copyItems(selectedPaths(), false);
    leaveEditing();
}

void LocalStorageViewController::paste()
{
    m_fileActions->paste();
}

// ----------------------------------------------------------------------------- keys

KPDocumentPickerItemPtr LocalStorageViewController::itemAtFlatRow(int flatRow)
{
    const IndexPath path = tableView()->rows()->indexPathAt(flatRow);
    return path.section < 0 ? nullptr : itemManager()->itemForIndexPath(path.section, path.row);
}

void LocalStorageViewController::deleteKeyPressed(bool forGood)
{
    if (isEditing() && !tableView()->indexPathsForSelectedRows().isEmpty())
        m_fileActions->deleteSelection(forGood);
}

void LocalStorageViewController::renameKeyPressed(int flatRow)
{
    if (const auto item = itemAtFlatRow(flatRow))
        m_fileActions->presentRenameDialog(item);
}

void LocalStorageViewController::contentsKeyPressed(int flatRow)
{
    if (const auto item = itemAtFlatRow(flatRow); item && !item->isFolder)
        showContentsOfArchiveNamed(item->fileName);
}

void LocalStorageViewController::copyKeyPressed(bool cut, int flatRow)
{
    QStringList paths;
    if (isEditing()) {
        paths = selectedPaths();
    } else if (const auto item = itemAtFlatRow(flatRow)) {
        paths.append(pathOnDisk(item));
    }
    if (!paths.isEmpty())
        m_fileActions->copyItems(paths, cut);
}

// ----------------------------------------------------------------------------- drag and drop

QVariantMap LocalStorageViewController::dragDataForFlatRow(int flatRow)
{
    const auto item = itemAtFlatRow(flatRow);
    if (!item)
        return {};
    const IndexPath at = tableView()->rows()->indexPathAt(flatRow);
    const QStringList paths = isEditing() && tableView()->indexPathsForSelectedRows().contains(at)
                                  ? selectedPaths()
                                  : QStringList{pathOnDisk(item)};
    QStringList urls;
    for (const QString &path : paths)
        urls.append(QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded()));
    return {{QStringLiteral("text/uri-list"), urls},
            {QStringLiteral("text/plain"), paths.join(u'\n')}};
}

bool LocalStorageViewController::acceptsDropOnFlatRow(int flatRow)
{
    const auto item = itemAtFlatRow(flatRow);
    return item && item->isFolder;
}

void LocalStorageViewController::dropOnFlatRow(const QList<QUrl> &urls, int flatRow)
{
    const auto folder = itemAtFlatRow(flatRow);
    if (!folder || !folder->isFolder)
        return;
    const QString folderPath = pathOnDisk(folder);
    QStringList sources;
    for (const QUrl &url : urls)
        if (url.isLocalFile() && url.toLocalFile() != folderPath) // a row dropped on itself
            sources.append(url.toLocalFile());
    if (!sources.isEmpty())
        m_fileActions->moveInto(sources, HomePaths::appending(filePath(), folder->fileName));
}
