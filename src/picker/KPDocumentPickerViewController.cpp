#include "KPDocumentPickerViewController.h"

#include "NavigationController.h"

#include <QCoreApplication>
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
    // Sorted on the item-builder queue; the loading state ends 0.05 s after it is shown. The
    // same empty folder again rebuilds nothing: it is shown as it stands.
    m_listingPending = true;
    if (!m_itemManager.setItems(items)) {
        m_listingPending = false;
        emit listingShown();
    }
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

// ----------------------------------------------------------------------------- sub-folders

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
