#include "KPDocumentPickerViewController.h"

#include "Announcer.h"
#include "NavigationController.h"

#include <QCoreApplication>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace {

QString pathOrRoot(const QString &path)
{
    return path.isEmpty() ? QStringLiteral("/") : path;
}

QString appendingPathComponent(const QString &path, const QString &component)
{
    if (path.isEmpty())
        return component;
    return path.endsWith(u'/') ? path + component : path + u'/' + component;
}

QString lastPathComponent(const QString &path)
{
    if (path == QLatin1String("/"))
        return path;
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(u'/'))
        trimmed.chop(1);
    return trimmed.mid(trimmed.lastIndexOf(u'/') + 1);
}

QFont systemFont(double size)
{
    QFont font;
    font.setPixelSize(int(size));
    return font;
}

} // namespace

std::optional<QString>
KPDocumentPickerViewControllerDataSource::titleForFilePath(KPDocumentPickerViewController *,
                                                           const QString &)
{
    return std::nullopt;
}

void KPDocumentPickerViewControllerDataSource::configureCell(KPDocumentPickerViewController *,
                                                             KPDocumentPickerTableViewCell *,
                                                             const KPDocumentPickerItemPtr &)
{
}

void KPDocumentPickerViewControllerDataSource::cancelRequestForFilePath(
    KPDocumentPickerViewController *, const QString &)
{
}

void KPDocumentPickerViewControllerDelegate::didSelectItems(KPDocumentPickerViewController *,
                                                            const KPDocumentPickerItems &,
                                                            const QString &)
{
}

KPDocumentPickerViewController::KPDocumentPickerViewController(const QString &filePath,
                                                               QObject *parent)
    : KPDocumentPickerViewController(std::make_shared<KPDocumentPickerConfiguration>(), filePath,
                                     parent)
{
}

KPDocumentPickerViewController::KPDocumentPickerViewController(
    KPDocumentPickerConfigurationPtr configuration, const QString &filePath, QObject *parent)
    : ViewController(parent), m_configuration(std::move(configuration)),
      m_filePath(pathOrRoot(filePath)), m_rootViewController(this)
{
    commonInit();
}

KPDocumentPickerViewController::KPDocumentPickerViewController(
    KPDocumentPickerViewController *rootViewController, const QString &filePath, QObject *parent)
    : ViewController(parent), m_configuration(rootViewController->configuration()),
      m_filePath(pathOrRoot(filePath)), m_rootViewController(rootViewController)
{
    commonInit();
}

void KPDocumentPickerViewController::commonInit()
{
    cellFolderFont = systemFont(17);
    cellFileFont = systemFont(17);
    m_tableView = new KPDocumentPickerTableView(this);
    m_tableView->setDataSource(this);
    m_tableView->setDelegate(this);
}

KPDocumentPickerViewController::~KPDocumentPickerViewController()
{
    // A screen that is its own data source is already half gone here; it says goodbye itself.
    if (!m_dataSourceIsSelf) {
        if (auto *source = dataSource())
            source->cancelRequestForFilePath(this, m_filePath);
    }
    m_itemManager.setTableView(nullptr);
}

QUrl KPDocumentPickerViewController::pageUrl() const
{
    return QUrl(QStringLiteral("qrc:/Ombrisk/Picker/qml/KPDocumentPickerPage.qml"));
}

KPDocumentPickerViewControllerDataSource *KPDocumentPickerViewController::dataSource() const
{
    if (m_dataSource)
        return m_dataSource;
    return m_rootViewController && m_rootViewController != this ? m_rootViewController->m_dataSource
                                                                : nullptr;
}

void KPDocumentPickerViewController::setDataSource(KPDocumentPickerViewControllerDataSource *source)
{
    m_dataSource = source;
    m_dataSourceIsSelf = dynamic_cast<QObject *>(source) == this;
}

KPDocumentPickerViewControllerDelegate *
KPDocumentPickerViewController::documentPickerDelegate() const
{
    if (m_delegate)
        return m_delegate;
    return m_rootViewController && m_rootViewController != this ? m_rootViewController->m_delegate
                                                                : nullptr;
}

void KPDocumentPickerViewController::setDocumentPickerDelegate(
    KPDocumentPickerViewControllerDelegate *delegate)
{
    m_delegate = delegate;
}

// ----------------------------------------------------------------------------- view set-up

void KPDocumentPickerViewController::viewDidLoad()
{
    ViewController::viewDidLoad();
    setUpTableView();
    setUpHeaderView();
    setUpLoadingView();
    setUpBarButtons();
}

void KPDocumentPickerViewController::setUpTableView()
{
    m_tableView->setSize(viewSize());
    m_tableView->setRowHeight(rowHeight);
    m_tableView->setAllowsMultipleSelectionDuringEditing(true);
    m_tableView->setContentInsets(0, toolbarInset);
    m_itemManager.setTableView(m_tableView);
    QPointer<KPDocumentPickerViewController> weakSelf(this);
    m_itemManager.setContentReloadedHandler([weakSelf] {
        if (weakSelf)
            weakSelf->contentReloaded();
    });
}

void KPDocumentPickerViewController::setUpHeaderView()
{
    QPointer<KPDocumentPickerViewController> weakSelf(this);
    m_headerView.setSearchTextChangedHandler([weakSelf](const QString &text) {
        if (!weakSelf)
            return;
        weakSelf->m_itemManager.setSearchString(text);
        weakSelf->m_searchCountPending = true;
        weakSelf->showFeedbackLabelIfNeeded();
        weakSelf->scrollToTopForSearch();
    });
    m_headerView.setWidth(viewSize().width());
    m_tableView->setHeaderViewHeight(KPDocumentPickerHeaderView::height);
    m_headerView.sortControl()->setSortTypeChangedHandler([weakSelf] {
        if (weakSelf)
            weakSelf->setSortingType(weakSelf->m_headerView.sortControl()->sortingType());
    });
}

double KPDocumentPickerViewController::secondRowSlotTop(double height) const
{
    return KPDocumentPickerHeaderView::height + (rowHeight - height) / 2 + rowHeight;
}

void KPDocumentPickerViewController::setUpLoadingView()
{
    m_loadingView = new ActivityIndicator(this);
    const double size = m_loadingView->size().width();
    m_loadingView->setOrigin({(m_tableView->size().width() - size) / 2, secondRowSlotTop(size)});
    m_loadingView->startAnimating();
    emit loadingViewChanged();
}

void KPDocumentPickerViewController::setUpBarButtons()
{
    QPointer<KPDocumentPickerViewController> weakSelf(this);
    auto toggle = [weakSelf] {
        if (weakSelf)
            weakSelf->selectButtonTapped();
    };
    m_selectButton = BarButtonItem::titled(tr("Select"), BarButtonItem::Style::Plain, toggle, this);
    m_cancelButton = BarButtonItem::titled(tr("Cancel"), BarButtonItem::Style::Done, toggle, this);
    m_selectAllButton = BarButtonItem::titled(
        tr("Select All"), BarButtonItem::Style::Plain,
        [weakSelf] {
            if (weakSelf)
                weakSelf->selectAllButtonTapped();
        },
        this);
    m_selectButton->setEnabled(false); // nothing to select until a listing has items
    setRightBarButtonItems({m_selectButton});
}

// ----------------------------------------------------------------------------- life cycle

void KPDocumentPickerViewController::viewWillAppear(bool animated)
{
    ViewController::viewWillAppear(animated);
    if (!navigationController())
        throw std::logic_error(
            "KPDocumentPickerViewController MUST be presented under a UINavigationController");
    if (m_viewInitiallyAppeared)
        return;
    reloadItemsFromDataSource();
    std::optional<QString> title;
    if (auto *source = dataSource())
        title = source->titleForFilePath(this, m_filePath);
    setTitle(title ? *title : lastPathComponent(m_filePath));
    m_viewInitiallyAppeared = true;
}

void KPDocumentPickerViewController::viewDidAppear(bool animated)
{
    ViewController::viewDidAppear(animated);
    m_headerView.setHidden(false);
}

void KPDocumentPickerViewController::viewWillDisappear(bool animated)
{
    ViewController::viewWillDisappear(animated);
    m_headerView.setHidden(true);
}

void KPDocumentPickerViewController::viewDidLayoutSubviews()
{
    ViewController::viewDidLayoutSubviews();
    m_tableView->setSize(viewSize());
    m_itemManager.updateTableGeometry();
    if (m_loadingView) {
        const double size = m_loadingView->size().width();
        m_loadingView->setOrigin({(viewSize().width() - size) / 2, m_loadingView->origin().y()});
    }
    resetHeaderConstraints();
    if (m_viewInitiallyLaidOut)
        return;
    m_tableView->setContentOffsetY(KPDocumentPickerHeaderView::height -
                                   m_tableView->contentInsetTop());
    m_viewInitiallyLaidOut = true;
}

// ----------------------------------------------------------------------------- listings

void KPDocumentPickerViewController::reloadItemsFromDataSource()
{
    auto *source = dataSource();
    if (!source)
        return;
    QPointer<KPDocumentPickerViewController> weakSelf(this);
    ++m_listingsInFlight;
    source->requestItemsForFilePath(this, m_filePath,
                                    [weakSelf](const KPDocumentPickerItems &items) {
                                        if (!weakSelf)
                                            return;
                                        --weakSelf->m_listingsInFlight;
                                        weakSelf->setItems(items);
                                    });
}

void KPDocumentPickerViewController::setItems(const KPDocumentPickerItems &items)
{
    // An empty list is never "the same": the empty-folder state must show on every delivery.
    if (!items.isEmpty() && items.isSharedWith(m_itemManager.items())) {
        emit listingShown();
        return;
    }
    if (items.isEmpty()) {
        resetAfterInitialItemLoad();
        // Judged on the delivered list: the manager still holds the previous one.
        updateFeedbackLabel(items);
    }
    // Sorted on the item-builder queue; the loading state ends 0.05 s after it is shown.
    m_listingPending = true;
    m_itemManager.setItems(items);
}

void KPDocumentPickerViewController::setItems(const KPDocumentPickerItems &items,
                                              const QString &filePath)
{
    auto *stack = navigationController();
    if (!stack || !m_rootViewController)
        return;
    const QList<ViewController *> screens = stack->viewControllers();
    const qsizetype rootIndex = screens.indexOf(m_rootViewController.data());
    if (rootIndex < 0)
        return;
    if (filePath.isEmpty()) {
        m_rootViewController->setItems(items);
        return;
    }
    for (qsizetype i = rootIndex; i < screens.size(); ++i) {
        auto *picker = qobject_cast<KPDocumentPickerViewController *>(screens.at(i));
        if (picker && !picker->filePath().isEmpty() &&
            picker->filePath().compare(filePath, Qt::CaseInsensitive) == 0) {
            picker->setItems(items);
            return;
        }
    }
}

void KPDocumentPickerViewController::contentReloaded()
{
    updateViewContent();
    updateSelectAllButton(); // a reload clears the selection
    if (std::exchange(m_searchCountPending, false))
        announceSearchCount();
    if (!std::exchange(m_listingPending, false))
        return;
    emit listingShown();
    DispatchQueue::mainAfter(0.05, this, [weakSelf = QPointer(this)] {
        if (weakSelf)
            weakSelf->resetAfterInitialItemLoad();
    });
}

void KPDocumentPickerViewController::resetAfterInitialItemLoad()
{
    if (!m_refreshControl) {
        QPointer<KPDocumentPickerViewController> weakSelf(this);
        m_refreshControl = new RefreshControl(
            [weakSelf] {
                if (weakSelf)
                    weakSelf->refreshControlTriggered();
            },
            this);
        emit refreshControlChanged();
    }
    m_refreshControl->endRefreshing();
    if (m_loadingView) {
        delete m_loadingView;
        m_loadingView = nullptr;
        emit loadingViewChanged();
        emit initialItemsLoaded();
    }
}

void KPDocumentPickerViewController::refreshControlTriggered()
{
    if (dataSource())
        reloadItemsFromDataSource();
    else if (m_refreshControl)
        m_refreshControl->endRefreshing();
}

// ----------------------------------------------------------------------------- feedback label

void KPDocumentPickerViewController::hideFeedbackLabel()
{
    if (m_feedbackLabel)
        m_feedbackLabel->setHidden(true);
    if (m_feedbackHintLabel)
        m_feedbackHintLabel->setHidden(true);
}

bool KPDocumentPickerViewController::visibleListIsEmpty(const KPDocumentPickerItems &items) const
{
    if (!m_itemManager.searchString().isEmpty())
        return m_itemManager.numberOfRowsForSection(0) == 0;
    return items.isEmpty();
}

void KPDocumentPickerViewController::showFeedbackLabelIfNeeded()
{
    updateFeedbackLabel(items());
}

void KPDocumentPickerViewController::updateFeedbackLabel(const KPDocumentPickerItems &items)
{
    hideFeedbackLabel();
    if (!visibleListIsEmpty(items))
        return;
    if (!m_feedbackLabel) {
        m_feedbackLabel = new Label(16, QColor::fromRgbF(0.8, 0.8, 0.8), this);
        emit feedbackLabelChanged();
    }
    m_feedbackLabel->setText(m_headerView.searchText().isEmpty() ? tr("Folder is Empty")
                                                                 : tr("No Results Found"));
    m_feedbackLabel->sizeToFit();
    const QSizeF size = m_feedbackLabel->size();
    m_feedbackLabel->setOrigin(
        {(m_tableView->size().width() - size.width()) / 2, secondRowSlotTop(size.height())});
    m_feedbackLabel->setHidden(false);
    if (m_headerView.searchText().isEmpty() && !m_emptyFolderHint.isEmpty())
        showFeedbackHint(m_feedbackLabel->origin().y() + size.height() + 8);
}

void KPDocumentPickerViewController::showFeedbackHint(double top)
{
    if (!m_feedbackHintLabel) {
        // Darker than the line above: it is read, not glanced at.
        m_feedbackHintLabel = new Label(14, QColor::fromRgbF(0.43, 0.43, 0.45), this);
        emit feedbackLabelChanged();
    }
    m_feedbackHintLabel->setText(m_emptyFolderHint);
    m_feedbackHintLabel->setOrigin({0, top}); // the page centres and wraps it
    m_feedbackHintLabel->setHidden(false);
}

// ----------------------------------------------------------------------------- the table

int KPDocumentPickerViewController::numberOfSections(TableView *) const
{
    return m_itemManager.numberOfSections();
}

int KPDocumentPickerViewController::numberOfRows(TableView *, int section) const
{
    return m_itemManager.numberOfRowsForSection(section);
}

QString KPDocumentPickerViewController::titleForHeader(TableView *, int section) const
{
    return m_itemManager.titleForHeaderInSection(section);
}

QStringList KPDocumentPickerViewController::sectionIndexTitles(TableView *) const
{
    return m_itemManager.sectionIndexTitles();
}

TableViewCell *KPDocumentPickerViewController::cellForRow(TableView *tableView, IndexPath indexPath)
{
    static const QString identifier = QStringLiteral("TableCell");
    auto *cell =
        qobject_cast<KPDocumentPickerTableViewCell *>(tableView->dequeueReusableCell(identifier));
    if (!cell) {
        const auto factory = m_configuration->tableViewCellClass();
        cell = factory ? factory(identifier, tableView)
                       : new KPDocumentPickerTableViewCell(identifier, tableView);
        cell->setDetailTextColor(QColor::fromRgbF(0.6, 0.6, 0.6));
    }
    // A cell whose row went out of sight takes its menu down with it.
    if (cell->hasFocus())
        menuController()->hideMenu();
    const auto item = m_itemManager.itemForIndexPath(indexPath.section, indexPath.row);
    if (!item)
        return cell;
    cell->setText(item->fileName);
    cell->setDetailText(item->localizedMetadata());
    cell->setAccessory(item->isFolder ? TableViewCell::Accessory::DisclosureIndicator
                                      : TableViewCell::Accessory::None);
    cell->setFont(item->isFolder ? cellFolderFont : cellFileFont);
    cell->imageView()->setRequestedImageKey({});
    cell->imageView()->setImage(item->isFolder ? m_configuration->folderIcon()
                                               : m_configuration->defaultIcon());
    cell->imageView()->setFrameSize({37, 37});
    if (auto *source = dataSource())
        source->configureCell(this, cell, item);
    return cell;
}

int KPDocumentPickerViewController::sectionForSectionIndexTitle(TableView *, const QString &title,
                                                                int index)
{
    if (title == QLatin1String("{search}")) {
        m_tableView->setContentOffsetY(-m_tableView->contentInsetTop());
        return -1;
    }
    return m_itemManager.sectionForSectionIndexAtIndex(index);
}

void KPDocumentPickerViewController::didSelectRow(TableView *, IndexPath indexPath)
{
    if (isEditing()) {
        updateSelectAllButton();
        updateToolbarItems();
        return;
    }
    m_tableView->deselectRow(indexPath);
    const auto item = m_itemManager.itemForIndexPath(indexPath.section, indexPath.row);
    if (!item)
        return;
    if (item->isFolder) {
        openFolder(item);
        return;
    }
    if (auto *delegate = documentPickerDelegate())
        delegate->didSelectItems(this, {item}, m_filePath);
}

void KPDocumentPickerViewController::didDeselectRow(TableView *, IndexPath)
{
    if (!isEditing())
        return;
    updateSelectAllButton();
    updateToolbarItems();
}

void KPDocumentPickerViewController::scrollToTopForSearch()
{
    m_scrollingForSearch = true;
    m_tableView->setContentOffsetY(-m_tableView->contentInsetTop());
    m_scrollingForSearch = false;
}

void KPDocumentPickerViewController::announceSearchCount()
{
    constexpr double typingPause = 0.5;
    const quint64 announcement = ++m_searchAnnouncement;
    DispatchQueue::mainAfter(typingPause, this, [weakSelf = QPointer(this), announcement] {
        if (!weakSelf || announcement != weakSelf->m_searchAnnouncement ||
            weakSelf->m_headerView.searchText().isEmpty())
            return;
        const int found = weakSelf->m_itemManager.numberOfRowsForSection(0);
        Announcer::announce(tr("%n item(s) found.", nullptr, found));
    });
}

void KPDocumentPickerViewController::didScroll(TableView *tableView)
{
    if (!m_scrollingForSearch)
        m_headerView.dismissKeyboard();
    m_headerView.setClippingHeight(tableView->contentInsetTop() + tableView->contentOffsetY());
}

KPDocumentPickerViewController *
KPDocumentPickerViewController::makeSubPicker(const QString &subPath)
{
    // The same concrete class as this one, through its invokable constructor.
    QObject *made = metaObject()->newInstance(
        Q_ARG(KPDocumentPickerViewController *, m_rootViewController.data()),
        Q_ARG(QString, subPath), Q_ARG(QObject *, nullptr));
    auto *picker = qobject_cast<KPDocumentPickerViewController *>(made);
    if (!picker) {
        qWarning("%s lacks the sub-level constructor; a plain picker is pushed",
                 metaObject()->className());
        delete made;
        picker = new KPDocumentPickerViewController(m_rootViewController.data(), subPath);
    }
    return picker;
}

void KPDocumentPickerViewController::openFolder(const KPDocumentPickerItemPtr &item)
{
    QString subPath = appendingPathComponent(m_filePath, item->fileName);
    if (subPath.isEmpty())
        subPath = appendingPathComponent(QStringLiteral("/"), item->fileName);
    auto *picker = makeSubPicker(subPath);
    picker->setTitle(lastPathComponent(subPath));
    picker->setSession(m_session);
    if (auto *stack = navigationController())
        stack->pushViewController(picker, true);
    else
        delete picker;
}

// ----------------------------------------------------------------------------- keyboard

void KPDocumentPickerViewController::escapePressed()
{
    if (menuController()->isMenuVisible())
        menuController()->hideMenu();
    else if (!m_headerView.searchText().isEmpty())
        m_headerView.setSearchText(QString());
    else if (isEditing())
        selectButtonTapped();
    else
        escapeWithNothingOpen();
}

void KPDocumentPickerViewController::escapeWithNothingOpen()
{
    m_headerView.dismissKeyboard();
}

void KPDocumentPickerViewController::selectAllRequested()
{
    if (isEditing() && !allCellsSelected())
        selectAllButtonTapped();
}

int KPDocumentPickerViewController::flatRowForTypedText(const QString &text, int currentFlatRow)
{
    constexpr qint64 typingPauseMs = 1000;
    if (!m_typingClock.isValid() || m_typingClock.elapsed() > typingPauseMs)
        m_typedPrefix.clear();
    m_typingClock.start();
    m_typedPrefix += text;
    // A first letter looks past the current row; more letters refine the current match.
    const int start = std::max(0, m_typedPrefix.size() == text.size() ? currentFlatRow + 1
                                                                       : currentFlatRow);
    auto *rows = m_tableView->rows();
    const int count = rows->rowCount();
    for (int step = 0; step < count; ++step) {
        const int flat = (start + step) % count;
        const IndexPath path = rows->indexPathAt(flat);
        const auto item = m_itemManager.itemForIndexPath(path.section, path.row);
        if (item && item->fileName.startsWith(m_typedPrefix, Qt::CaseInsensitive))
            return flat;
    }
    return -1;
}

// ----------------------------------------------------------------------------- editing

void KPDocumentPickerViewController::selectButtonTapped()
{
    setEditing(!isEditing(), true);
    updateBarButtonsAnimated(true);
}

void KPDocumentPickerViewController::setEditing(bool editing, bool animated)
{
    if (editing != isEditing())
        Announcer::announce(editing ? tr("Edit mode: select the items to act on.")
                                    : tr("Edit mode ended."));
    ViewController::setEditing(editing, animated);
    m_tableView->setEditing(editing);
    updateSelectAllButton();
    updateViewContent();
}

void KPDocumentPickerViewController::updateBarButtonsAnimated(bool)
{
    const bool editing = isEditing();
    setRightBarButtonItems({editing ? m_cancelButton : m_selectButton});
    if (auto *stack = navigationController(); stack && stack->viewControllers().size() >= 2)
        setHidesBackButton(editing);
    setLeftBarButtonItems(editing ? QList<BarButtonItem *>{m_selectAllButton}
                                  : m_browsingLeftItems);
}

void KPDocumentPickerViewController::setBrowsingLeftBarButtonItems(
    const QList<BarButtonItem *> &items)
{
    m_browsingLeftItems = items;
    if (!isEditing())
        setLeftBarButtonItems(items);
}

void KPDocumentPickerViewController::updateViewContent()
{
    resetHeaderConstraints();
    updateToolbarItems();
    if (m_selectButton)
        m_selectButton->setEnabled(!items().isEmpty());
}

void KPDocumentPickerViewController::resetHeaderConstraints()
{
    const double indexWidth =
        m_itemManager.sectionIndexIsVisible() ? std::trunc(m_tableView->sectionIndexWidth()) : 0;
    const double target = m_tableView->size().width() - indexWidth;
    if (std::trunc(target) != std::trunc(m_headerView.width()))
        m_headerView.setWidth(target);
}

bool KPDocumentPickerViewController::allCellsSelected() const
{
    const qsizetype visible = m_itemManager.searchString().isEmpty()
                                  ? items().size()
                                  : m_itemManager.numberOfRowsForSection(0);
    return m_tableView->numberOfSelectedRows() == visible;
}

void KPDocumentPickerViewController::selectAllButtonTapped()
{
    if (!isEditing())
        return;
    if (allCellsSelected())
        m_tableView->deselectAllRows();
    else
        m_tableView->selectAllRows();
    updateSelectAllButton();
    updateToolbarItems();
}

void KPDocumentPickerViewController::updateSelectAllButton()
{
    if (!m_selectAllButton)
        return;
    const bool none = m_tableView->numberOfSelectedRows() == 0;
    m_selectAllButton->setTitle(!none && allCellsSelected() ? tr("Select None") : tr("Select All"));
}

void KPDocumentPickerViewController::updateFooterLabel()
{
    if (!toolBarLabel)
        return;
    if (isEditing()) {
        const int n = m_tableView->numberOfSelectedRows();
        toolBarLabel->setTitle(tr("%n item(s) selected", nullptr, n));
        return;
    }
    int folders = 0, files = 0;
    for (const auto &item : items())
        ++(item->isFolder ? folders : files);
    QString text;
    if (folders && files)
        //: The two counts of the footer, "1 folder, 3 files"; %1 is the folders', %2 the files'.
        text = tr("%1, %2").arg(tr("%n folder(s)", nullptr, folders),
                                tr("%n file(s)", nullptr, files));
    else if (folders)
        text = tr("%n folder(s)", nullptr, folders);
    else if (files)
        text = tr("%n file(s)", nullptr, files);
    else
        text = m_loadingView && m_loadingView->isAnimating() ? tr("Loading...")
                                                             : tr("No files or folders found");
    toolBarLabel->setTitle(text);
}

KPDocumentPickerItems KPDocumentPickerViewController::selectedItems()
{
    KPDocumentPickerItems selected;
    for (const IndexPath &path : m_tableView->indexPathsForSelectedRows()) {
        if (auto item = m_itemManager.itemForIndexPath(path.section, path.row))
            selected.append(item);
    }
    return selected;
}

void KPDocumentPickerViewController::chooseButtonTapped()
{
    if (auto *delegate = documentPickerDelegate())
        delegate->didSelectItems(this, selectedItems(), m_filePath);
}

void KPDocumentPickerViewController::showNewestFirst()
{
    setSortingType(KPDocumentPickerSortTypeDateDescending);
    auto *sortControl = m_headerView.sortControl();
    sortControl->setSortingType(KPDocumentPickerSortTypeDateDescending);
    sortControl->updateItemsForCurrentSortType();
    sortControl->setSelectedSegmentIndex(KPDocumentPickerSegmentedControl::DateSegment);
}

void KPDocumentPickerViewController::doneButtonTapped()
{
    if (auto *stack = navigationController(); stack && stack->presentingViewController())
        stack->presentingViewController()->dismiss(true);
}
