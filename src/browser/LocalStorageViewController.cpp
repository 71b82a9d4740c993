#include "LocalStorageViewController.h"

#include "AlertController.h"
#include "ArchiveContentsViewController.h"
#include "ArchiveKind.h"
#include "FileOperations.h"
#include "FilePreviewController.h"
#include "FileRowPicture.h"
#include "FolderWatch.h"
#include "ItemDeletion.h"
#include "KPDocumentPickerMenuItem.h"
#include "LocalFilePreviewViewController.h"
#include "LocalFolderListing.h"
#include "LocalFolderSelectorViewController.h"
#include "MoveIntoFolder.h"
#include "NavigationController.h"
#include "NewFolderDialog.h"
#include "NotificationCenter.h"
#include "ProgressOverlay.h"
#include "TrashViewController.h"
#include "Utils.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QFileInfo>
#include <QSet>
#include <utility>

namespace {

const QString localMoveNotification = QStringLiteral("localMove");
// Long enough to reach the notice's Open button.
constexpr double mediaNoticeSeconds = 6;
// Below this width five toolbar buttons would leave the status text no room.
constexpr double compactToolbarWidth = 400;

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
    configureHUD();
    if (filePath() == QLatin1String("/"))
        addTrashButton();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &LocalStorageViewController::updatePasteButton);
    connect(this, &ViewController::viewSizeChanged, this, [this] { showToolbarFor(isEditing()); });
    m_folderWatch = new FolderWatch(this);
    connect(m_folderWatch, &FolderWatch::changed, this,
            &LocalStorageViewController::folderChangedOnDisk);
    connect(this, &KPDocumentPickerViewController::listingShown, this,
            &LocalStorageViewController::restoreKeptSelection);
    connect(ProgressOverlay::shared(), &ProgressOverlay::changed, this, [this] {
        if (!ProgressOverlay::shared()->isVisible() && std::exchange(m_changedDuringJob, false))
            folderChangedOnDisk();
    });
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
    m_folderWatch->watch(LocalFolderListing::folderPathForPickerPath(filePath()));
}

void LocalStorageViewController::viewDidDisappear(bool animated)
{
    KPDocumentPickerViewController::viewDidDisappear(animated);
    NotificationCenter::defaultCenter()->removeObserver(this, localMoveNotification);
    // Listed again on the next appearance anyway.
    m_folderWatch->watch({});
}

void LocalStorageViewController::folderChangedOnDisk()
{
    // A file job behind the overlay changes the folder as it goes and lists it when done: one
    // look after it catches the rest, where a listing per burst would only slow it down.
    if (ProgressOverlay::shared()->isVisible()) {
        m_changedDuringJob = true;
        return;
    }
    // One listing at a time, until it is shown: each reload of the table drops the selection.
    if (hasListingInFlight() || m_liveListingUnshown) {
        m_changedWhileListing = true;
        return;
    }
    if (m_keptSelection.isEmpty())
        for (const auto &item : selectedItems())
            m_keptSelection.append(item->fileName);
    ++m_liveRelistCount;
    m_liveListingUnshown = true;
    reloadItemsFromDataSource();
}

void LocalStorageViewController::restoreKeptSelection()
{
    m_liveListingUnshown = false;
    const QStringList kept = std::exchange(m_keptSelection, {});
    if (std::exchange(m_changedWhileListing, false)) {
        m_keptSelection = kept;
        folderChangedOnDisk();
    }
    if (!isEditing() || kept.isEmpty())
        return;
    const QSet<QString> names(kept.cbegin(), kept.cend());
    auto *manager = itemManager();
    QList<IndexPath> found;
    for (int section = 0; section < manager->numberOfSections(); ++section)
        for (int row = 0; row < manager->numberOfRowsForSection(section); ++row)
            if (names.contains(manager->itemForIndexPath(section, row)->fileName))
                found.append({section, row});
    tableView()->selectRows(found);
    // Heard once: what it updates (buttons, footer) looks at the whole selection.
    if (!found.isEmpty())
        didSelectRow(tableView(), found.last());
}

// ----------------------------------------------------------------------------- data source

void LocalStorageViewController::requestItemsForFilePath(
    KPDocumentPickerViewController *picker, const QString &filePath,
    std::function<void(const KPDocumentPickerItems &)> completionHandler)
{
    QPointer<KPDocumentPickerViewController> asking(picker);
    LocalFolderListing::itemsInFolderLater(
        LocalFolderListing::folderPathForPickerPath(filePath), listingDelay, this,
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

void LocalStorageViewController::setSelectionButtonsEnabled(bool enabled)
{
    for (auto *button : {m_deleteButton, m_moveButton, m_compressButton, m_copyButton}) {
        if (button)
            button->setEnabled(enabled);
    }
}

void LocalStorageViewController::updateViewContent()
{
    // The index strip may have come or gone with the new content.
    resetHeaderConstraints();
    const bool hasItems = !items().isEmpty();
    if (selectButton())
        selectButton()->setEnabled(hasItems);
    setSelectionButtonsEnabled(hasItems && isEditing());
    updateFooterLabel();
}

void LocalStorageViewController::setEditing(bool editing, bool animated)
{
    KPDocumentPickerViewController::setEditing(editing, animated);
    showToolbarFor(editing);
    updateFooterLabel();
}

void LocalStorageViewController::configureToolbar()
{
    if (!toolBarLabel)
        toolBarLabel = BarButtonItem::label(tr("Loading..."), 12, this);
    const auto action = [this](void (LocalStorageViewController::*tapped)()) {
        QPointer<LocalStorageViewController> weakSelf(this);
        return [weakSelf, tapped] {
            if (weakSelf)
                (weakSelf->*tapped)();
        };
    };
    using Style = BarButtonItem::Style;
    m_createFolderButton = BarButtonItem::pictured(
        QStringLiteral("new_folder"), Style::Done,
        action(&LocalStorageViewController::createFolderButtonTapped), this);
    m_compressButton =
        BarButtonItem::pictured(QStringLiteral("compress"), Style::Done,
                                action(&LocalStorageViewController::compressButtonTapped), this);
    m_deleteButton =
        BarButtonItem::trash(action(&LocalStorageViewController::deleteButtonTapped), this);
    m_moveButton =
        BarButtonItem::pictured(QStringLiteral("move"), Style::Done,
                                action(&LocalStorageViewController::moveBarButtonTaped), this);
    m_copyButton = BarButtonItem::pictured(QStringLiteral("copy"), Style::Done,
                                           action(&LocalStorageViewController::copyButtonTapped), this);
    m_pasteButton = BarButtonItem::pictured(QStringLiteral("paste"), Style::Done,
                                            action(&LocalStorageViewController::paste), this);
    auto *space = BarButtonItem::flexibleSpace(this);
    m_normalToolbarItems = {m_createFolderButton, space, m_pasteButton, space,
                            m_compressButton, space, toolBarLabel.data(), m_moveButton,
                            space, m_deleteButton};
    showToolbarFor(isEditing());
    setSelectionButtonsEnabled(false);
    updatePasteButton();
    m_copyButton->setAccessibleName(tr("Copy"));
    m_pasteButton->setAccessibleName(tr("Paste"));
    m_createFolderButton->setAccessibleName(tr("New Folder"));
    m_compressButton->setAccessibleName(tr("Compress"));
    m_moveButton->setAccessibleName(tr("Move"));
    m_deleteButton->setAccessibleName(tr("Delete"));
    for (auto *button : {m_deleteButton, m_createFolderButton}) {
        button->setBoldTitle(true);
        button->setTitleFontSize(12);
    }
}

void LocalStorageViewController::showToolbarFor(bool editing)
{
    if (m_normalToolbarItems.isEmpty())
        return;
    auto items = m_normalToolbarItems;
    const qsizetype slot = items.indexOf(m_pasteButton);
    // A narrow window needs the room for the status text: Copy and Paste stay in the row menu
    // and on the keys there.
    if (viewSize().width() > 0 && viewSize().width() < compactToolbarWidth)
        items.remove(slot, 2);
    else if (editing)
        items.replace(slot, m_copyButton);
    if (items != toolbarItems())
        setToolbarItems(items);
}

void LocalStorageViewController::updateFooterLabel()
{
    KPDocumentPickerViewController::updateFooterLabel();
    if (isEditing())
        setSelectionButtonsEnabled(tableView()->numberOfSelectedRows() > 0);
}

void LocalStorageViewController::selectAllButtonTapped()
{
    KPDocumentPickerViewController::selectAllButtonTapped();
    if (allCellsSelected()) {
        m_deleteButton->setEnabled(true);
        m_compressButton->setEnabled(true);
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
        showProperty(item);
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
        const QString path = LocalFolderListing::itemPath(filePath(), fileName);
        textNotice()->show(tr("“%1” can't be shown here.").arg(fileName), tr("Open"),
                           [weakSelf, path] {
                               if (weakSelf)
                                   weakSelf->openWithDefaultApp(path);
                           },
                           mediaNoticeSeconds);
        return;
    }
    if (const auto destination = unpackingDestination(fileName)) {
        unpackArchiveAtPath(LocalFolderListing::itemPath(filePath(), fileName), *destination);
        return;
    }
    auto *screen = new LocalFilePreviewViewController;
    screen->setFilePath(LocalFolderListing::itemPath(filePath(), fileName));
    screen->setSimpleValueChangedDelegate(this);
    if (FilePreviewController::canPreviewItem(screen->filePath()))
        screen->setTitle(fileName);
    navigationController()->pushViewController(screen, true);
}

void LocalStorageViewController::showPropertiesOfItemNamed(const QString &name)
{
    auto *screen = new LocalFilePreviewViewController;
    screen->setFilePath(LocalFolderListing::itemPath(filePath(), name));
    screen->setOnlyShowFileProperty(true);
    screen->setTitle(name);
    screen->setSimpleValueChangedDelegate(this);
    navigationController()->pushViewController(screen, true);
}

// ----------------------------------------------------------------------------- actions

KPDocumentPickerItemPtr LocalStorageViewController::menuItem(MenuController *sender)
{
    return KPDocumentPickerMenuItem::dataItemOf(sender).value<KPDocumentPickerItemPtr>();
}

QString LocalStorageViewController::pathOnDisk(const KPDocumentPickerItemPtr &item) const
{
    return LocalFolderListing::itemPath(filePath(), item->fileName);
}

void LocalStorageViewController::showFailures(const QList<Error> &failures,
                                              const QString &fallback)
{
    for (const Error &error : failures)
        textNotice()->show(error.isSet() ? error.message : fallback);
}

void LocalStorageViewController::leaveEditing()
{
    if (isEditing())
        selectButtonTapped();
}

// ----------------------------------------------------------------------------- new folder

void LocalStorageViewController::createFolderButtonTapped()
{
    QPointer<LocalStorageViewController> weakSelf(this);
    NewFolderDialog::present(this, LocalFolderListing::folderPathForPickerPath(filePath()),
                             [weakSelf] {
                                 if (weakSelf)
                                     weakSelf->reloadItemsFromDataSource();
                             });
}

// ----------------------------------------------------------------------------- delete

QStringList LocalStorageViewController::selectedPaths()
{
    QStringList paths;
    for (const auto &item : selectedItems())
        paths.append(pathOnDisk(item));
    return paths;
}

void LocalStorageViewController::deleteSelection(bool forGood)
{
    QPointer<LocalStorageViewController> weakSelf(this);
    ItemDeletion::confirm(this, selectedPaths(), forGood, false,
                          [weakSelf](const QList<Error> &failures) {
                              if (!weakSelf)
                                  return;
                              weakSelf->showFailures(failures, tr("Delete failed"));
                              weakSelf->reloadItemsFromDataSource();
                              weakSelf->leaveEditing();
                          });
}

void LocalStorageViewController::deleteButtonTapped()
{
    deleteSelection(false);
}

void LocalStorageViewController::deleteAction(MenuController *sender)
{
    const auto item = menuItem(sender);
    if (!item)
        return;
    QPointer<LocalStorageViewController> weakSelf(this);
    ItemDeletion::confirm(this, {pathOnDisk(item)}, false, true,
                          [weakSelf](const QList<Error> &failures) {
                              if (!weakSelf)
                                  return;
                              for (const Error &error : failures)
                                  qWarning("%s %s", Q_FUNC_INFO, qPrintable(error.message));
                              weakSelf->showFailures(failures, tr("Delete failed"));
                              weakSelf->reloadItemsFromDataSource();
                          });
}

void LocalStorageViewController::deleteKeyPressed(bool forGood)
{
    if (isEditing() && !tableView()->indexPathsForSelectedRows().isEmpty())
        deleteSelection(forGood);
}

// ----------------------------------------------------------------------------- rename

void LocalStorageViewController::renameAction(MenuController *sender)
{
    if (const auto item = menuItem(sender))
        presentRenameDialog(item);
}

void LocalStorageViewController::presentRenameDialog(const KPDocumentPickerItemPtr &item)
{
    auto *alert = new AlertController(tr("Rename"), tr("Please enter a name."),
                                      AlertController::Style::Alert);
    QPointer<AlertTextField> field = alert->addTextField(tr("New Name"), item->fileName);
    alert->addAction(tr("Cancel"), AlertAction::Style::Cancel);
    QPointer<LocalStorageViewController> weakSelf(this);
    alert->addAction(tr("Done"), AlertAction::Style::Default, [weakSelf, field, item] {
        if (weakSelf && field)
            weakSelf->rename(item, field->text());
    });
    present(alert, true);
}

void LocalStorageViewController::rename(const KPDocumentPickerItemPtr &item,
                                        const QString &newName)
{
    Error error;
    if (!FileOperations::renameItemAtPath(pathOnDisk(item), newName, &error))
        showFailures({error}, tr("Rename failed"));
    else if (const QString hidden = LocalFolderListing::hiddenNameNotice(newName); !hidden.isEmpty())
        textNotice()->show(hidden);
    reloadItemsFromDataSource();
}

void LocalStorageViewController::renameKeyPressed(int flatRow)
{
    if (const auto item = itemAtFlatRow(flatRow))
        presentRenameDialog(item);
}

KPDocumentPickerItemPtr LocalStorageViewController::itemAtFlatRow(int flatRow)
{
    const IndexPath path = tableView()->rows()->indexPathAt(flatRow);
    return path.section < 0 ? nullptr : itemManager()->itemForIndexPath(path.section, path.row);
}

// ----------------------------------------------------------------------------- move

void LocalStorageViewController::presentFolderSelector(const QStringList &sourceFiles)
{
    auto *selector = new LocalFolderSelectorViewController(QStringLiteral("/"));
    selector->setIsMoveItem(true);
    selector->setSourceFiles(sourceFiles);
    auto *stack = new NavigationController(selector);
    stack->setModalPresentationStyle(ViewController::PresentationStyle::FormSheet);
    present(stack, true);
}

void LocalStorageViewController::moveAction(MenuController *sender)
{
    const auto item = menuItem(sender);
    if (!item)
        return;
    for (const IndexPath &path : tableView()->indexPathsForSelectedRows())
        tableView()->deselectRow(path);
    presentFolderSelector({pathOnDisk(item)});
}

void LocalStorageViewController::moveBarButtonTaped()
{
    presentFolderSelector(selectedPaths());
}

void LocalStorageViewController::moveSelectorFinished(const QVariantMap &userInfo)
{
    moveInto(userInfo.value("source").toStringList(), userInfo.value("dist").toString());
}

void LocalStorageViewController::moveInto(const QStringList &sources, const QString &destination)
{
    QPointer<LocalStorageViewController> weakSelf(this);
    MoveIntoFolder::run(this, sources, LocalFolderListing::folderPathForPickerPath(destination),
                        LocalFolderListing::titleForFilePath(destination),
                        [weakSelf](const QList<Error> &failures) {
                            weakSelf->showFailures(failures, tr("Move failed"));
                            weakSelf->leaveEditing();
                            weakSelf->reloadItemsFromDataSource();
                        });
}

// ----------------------------------------------------------------------------- contents

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
                                        LocalFolderListing::itemPath(filePath(), name), innerPath);
}

void LocalStorageViewController::contentsKeyPressed(int flatRow)
{
    const IndexPath path = tableView()->rows()->indexPathAt(flatRow);
    if (path.section < 0)
        return;
    if (const auto item = itemManager()->itemForIndexPath(path.section, path.row);
        item && !item->isFolder)
        showContentsOfArchiveNamed(item->fileName);
}

// ----------------------------------------------------------------------------- properties

void LocalStorageViewController::infoAction(MenuController *sender)
{
    if (const auto item = menuItem(sender))
        showProperty(item);
}


void LocalStorageViewController::showProperty(const KPDocumentPickerItemPtr &item)
{
    showPropertiesOfItemNamed(item->fileName);
}
