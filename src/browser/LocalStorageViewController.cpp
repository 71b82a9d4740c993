#include "LocalStorageViewController.h"

#include "FileExtensionImage.h"
#include "KPDocumentPickerMenuItem.h"
#include "LocalFolderListing.h"
#include "NavigationController.h"
#include "NotificationCenter.h"
#include "Thumbnail.h"
#include "Utils.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

const QString localMoveNotification = QStringLiteral("localMove");

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
    setSortingType(KPDocumentPickerSortTypeDateDescending);
    auto *sortControl = headerView()->sortControl();
    sortControl->setSortingType(KPDocumentPickerSortTypeDateDescending);
    sortControl->updateItemsForCurrentSortType();
    sortControl->setSelectedSegmentIndex(KPDocumentPickerSegmentedControl::DateSegment);
    setBackButtonTitle(QStringLiteral(""));
    configureToolbar();
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
        [this](const QVariantMap &info) { moveSelectorFinished(info); });
}

void LocalStorageViewController::viewDidDisappear(bool animated)
{
    KPDocumentPickerViewController::viewDidDisappear(animated);
    NotificationCenter::defaultCenter()->removeObserver(this, localMoveNotification);
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
    const QVariant dataItem = QVariant::fromValue(item);
    std::vector<std::unique_ptr<KPDocumentPickerMenuItem>> entries;
    static const std::pair<const char *, const char *> menu[] = {
        {QT_TR_NOOP("Delete"), "deleteAction:"},
        {QT_TR_NOOP("Rename..."), "renameAction:"},
        {QT_TR_NOOP("Move..."), "moveAction:"},
        {QT_TR_NOOP("Info..."), "infoAction:"}};
    for (const auto &[title, action] : menu)
        entries.push_back(std::make_unique<KPDocumentPickerMenuItem>(tr(title), action, dataItem));
    cell->setMenuItems(std::move(entries));
    if (item->isFolder)
        return;
    const QString path = LocalFolderListing::itemPath(filePath(), item->fileName);
    const QString extension = QFileInfo(item->fileName).suffix();
    // The picker has already set the 37-point frame and forgotten the cell's previous request.
    if (Utils::isSupportPhotoFileFormat(extension))
        Thumbnail::cr_setLocalImageFilePath(cell->imageView(), path);
    cell->imageView()->setImage(
        FileExtensionImage(QRectF(0, 0, 37, 37), extension).imageRepresentation());
    cell->setAccessory(TableViewCell::Accessory::DetailButton);
}

void LocalStorageViewController::didSelectItems(KPDocumentPickerViewController *,
                                                const KPDocumentPickerItems &, const QString &)
{
    showNotAvailable();
}

// ----------------------------------------------------------------------------- content and toolbar

void LocalStorageViewController::setSelectionButtonsEnabled(bool enabled)
{
    for (auto *button : {m_deleteButton, m_moveButton, m_compressButton}) {
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
    auto *space = BarButtonItem::flexibleSpace(this);
    m_normalToolbarItems = {
        m_createFolderButton, space, m_compressButton, space, toolBarLabel.data(),
        m_moveButton,         space, m_deleteButton};
    setToolbarItems(m_normalToolbarItems);
    setSelectionButtonsEnabled(false);
    m_createFolderButton->setAccessibleName(tr("New Folder"));
    m_compressButton->setAccessibleName(tr("Compress"));
    m_moveButton->setAccessibleName(tr("Move"));
    m_deleteButton->setAccessibleName(tr("Delete"));
    for (auto *button : {m_deleteButton, m_createFolderButton}) {
        button->setBoldTitle(true);
        button->setTitleFontSize(12);
    }
}

void LocalStorageViewController::updateFooterLabel()
{
    KPDocumentPickerViewController::updateFooterLabel();
    if (isEditing())
        setSelectionButtonsEnabled(!tableView()->indexPathsForSelectedRows().isEmpty());
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

// ----------------------------------------------------------------------------- actions

void LocalStorageViewController::showNotAvailable()
{
    textNotice()->show(tr("Not available yet"));
}

void LocalStorageViewController::deleteAction(MenuController *)
{
    showNotAvailable();
}

void LocalStorageViewController::renameAction(MenuController *)
{
    showNotAvailable();
}

void LocalStorageViewController::moveAction(MenuController *)
{
    showNotAvailable();
}

void LocalStorageViewController::infoAction(MenuController *)
{
    showNotAvailable();
}

void LocalStorageViewController::createFolderButtonTapped()
{
    showNotAvailable();
}

void LocalStorageViewController::compressButtonTapped()
{
    showNotAvailable();
}

void LocalStorageViewController::deleteButtonTapped()
{
    showNotAvailable();
}

void LocalStorageViewController::moveBarButtonTaped()
{
    showNotAvailable();
}

void LocalStorageViewController::showProperty(const KPDocumentPickerItemPtr &)
{
    showNotAvailable();
}

void LocalStorageViewController::moveSelectorFinished(const QVariantMap &)
{
    showNotAvailable();
}
