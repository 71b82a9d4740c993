#include "LocalFolderSelectorViewController.h"

#include "HomePaths.h"
#include "LocalFolderListing.h"
#include "NavigationController.h"
#include "NewFolderDialog.h"
#include "NotificationCenter.h"
#include "Theme.h"

#include <QPainter>

namespace {

const QString templateKey = QStringLiteral("template");

// The icon as a template: its shape alone, drawn in the interface colour.
QImage templateImage(const QImage &image)
{
    if (image.isNull() || image.text(templateKey) == QLatin1String("1"))
        return image;
    QImage tinted = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&tinted);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(tinted.rect(), Theme::tint());
    painter.end();
    tinted.setText(templateKey, QStringLiteral("1"));
    return tinted;
}

} // namespace

LocalFolderSelectorViewController::LocalFolderSelectorViewController(const QString &filePath,
                                                                     QObject *parent)
    : KPDocumentPickerViewController(filePath, parent)
{
}

LocalFolderSelectorViewController::LocalFolderSelectorViewController(
    KPDocumentPickerViewController *rootViewController, const QString &filePath, QObject *parent)
    : KPDocumentPickerViewController(rootViewController, filePath, parent)
{
}

void LocalFolderSelectorViewController::viewDidLoad()
{
    KPDocumentPickerViewController::viewDidLoad();
    setDataSource(this);
    setDocumentPickerDelegate(this);
    if (auto *root = qobject_cast<LocalFolderSelectorViewController *>(rootViewController())) {
        m_isUpload = root->m_isUpload;
        m_isDownload = root->m_isDownload;
        m_isMoveItem = root->m_isMoveItem;
        m_sourceFiles = root->m_sourceFiles;
    }
    if (auto *stack = navigationController())
        stack->setToolbarHidden(false, true);
    if (!m_isUpload)
        setRightBarButtonItems({});
    configureToolbar();
}

// ----------------------------------------------------------------------------- data source

void LocalFolderSelectorViewController::requestItemsForFilePath(
    KPDocumentPickerViewController *picker, const QString &filePath,
    std::function<void(const KPDocumentPickerItems &)> completionHandler)
{
    KPDocumentPickerItems kept;
    const auto items = LocalFolderListing::itemsInFolder(HomePaths::diskPath(filePath));
    for (const auto &item : items) {
        if (m_isUpload || item->isFolder)
            kept.append(item);
    }
    if (!kept.isEmpty())
        picker->hideFeedbackLabel();
    completionHandler(kept);
}

std::optional<QString>
LocalFolderSelectorViewController::titleForFilePath(KPDocumentPickerViewController *,
                                                    const QString &filePath)
{
    if (!filePath.isEmpty() && filePath != QLatin1String("/"))
        return filePath.section(QLatin1Char('/'), -1, -1, QString::SectionSkipEmpty);
    if (m_isUpload)
        return tr("Select file");
    if (m_isDownload || m_isMoveItem)
        return tr("Select Save Folder");
    return filePath;
}

void LocalFolderSelectorViewController::configureCell(KPDocumentPickerViewController *,
                                                      KPDocumentPickerTableViewCell *cell,
                                                      const KPDocumentPickerItemPtr &item)
{
    if (!item->isFolder)
        cell->imageView()->setImage(templateImage(cell->imageView()->image()));
}

void LocalFolderSelectorViewController::didSelectItems(KPDocumentPickerViewController *,
                                                       const KPDocumentPickerItems &,
                                                       const QString &)
{
}

// ----------------------------------------------------------------------------- toolbar and actions

void LocalFolderSelectorViewController::configureToolbar()
{
    QPointer<LocalFolderSelectorViewController> weakSelf(this);
    const auto action = [weakSelf](void (LocalFolderSelectorViewController::*tapped)()) {
        return [weakSelf, tapped] {
            if (weakSelf)
                (weakSelf.data()->*tapped)();
        };
    };
    using Style = BarButtonItem::Style;
    auto *cancel = BarButtonItem::titled(
        tr("Cancel"), Style::Done,
        action(&LocalFolderSelectorViewController::cancelButtonTapped), this);
    m_createFolderBarButtonItem = BarButtonItem::pictured(
        QStringLiteral("new_folder"), Style::Done,
        action(&LocalFolderSelectorViewController::createFolderButtonTapped), this);
    m_createFolderBarButtonItem->setAccessibleName(tr("New Folder"));
    auto *done = BarButtonItem::titled(
        tr("Done"), Style::Done, action(&LocalFolderSelectorViewController::doneButtonTapped),
        this);
    for (auto *titled : {cancel, done}) {
        titled->setBoldTitle(true);
        titled->setTitleFontSize(12);
    }
    m_selectorToolbarItems = {cancel, BarButtonItem::flexibleSpace(this),
                              m_createFolderBarButtonItem, BarButtonItem::flexibleSpace(this),
                              done};
    setToolbarItems(m_selectorToolbarItems);
}

void LocalFolderSelectorViewController::createFolderButtonTapped()
{
    QPointer<LocalFolderSelectorViewController> weakSelf(this);
    NewFolderDialog::present(this, HomePaths::diskPath(filePath()), [weakSelf] {
        if (weakSelf)
            weakSelf->reloadItemsFromDataSource();
    });
}

void LocalFolderSelectorViewController::doneButtonTapped()
{
    // The choice is read now: leaving the screen clears its selection.
    const auto [name, object] = choice();
    dismissStack([name, object] {
        if (!name.isEmpty())
            NotificationCenter::defaultCenter()->post(name, object);
    });
}

void LocalFolderSelectorViewController::cancelButtonTapped()
{
    dismissStack({});
}

void LocalFolderSelectorViewController::dismissStack(std::function<void()> then)
{
    auto *stack = navigationController();
    ViewController *presenter = stack ? stack->presentingViewController() : nullptr;
    if (presenter)
        presenter->dismiss(true, std::move(then));
    else if (then)
        then();
}

std::pair<QString, QVariant> LocalFolderSelectorViewController::choice()
{
    if (m_isUpload)
        return {QStringLiteral("upload"), selectedRowPaths()};
    if (m_isDownload)
        return {QStringLiteral("download"), filePath()};
    if (m_isMoveItem) {
        QVariantMap info{{QStringLiteral("dist"), filePath()}};
        if (!m_sourceFiles.isEmpty())
            info.insert(QStringLiteral("source"), m_sourceFiles);
        return {QStringLiteral("localMove"), info};
    }
    return {};
}

QStringList LocalFolderSelectorViewController::selectedRowPaths()
{
    QStringList paths;
    for (const IndexPath &path : tableView()->indexPathsForSelectedRows()) {
        if (auto item = itemManager()->itemForIndexPath(path.section, path.row))
            paths.append(HomePaths::diskPath(filePath(), item->fileName));
    }
    return paths;
}
