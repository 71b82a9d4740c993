#include "LocalFilePreviewViewController.h"

#include "DefaultApplication.h"
#include "DispatchQueue.h"
#include "FileOperations.h"
#include "NavigationController.h"
#include "ScreenScale.h"
#include "SimpleValueChangedDelegate.h"
#include "Utils.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

DispatchQueue &listingQueue()
{
    static auto *queue =
        new DispatchQueue(QStringLiteral("LocalFilePreviewViewController.listingQueue"));
    return *queue;
}

} // namespace

LocalFilePreviewViewController::LocalFilePreviewViewController(QObject *parent)
    : ViewController(parent)
{
    connect(&m_previewController, &FilePreviewController::currentItemShownChanged, this,
            &LocalFilePreviewViewController::contentShownChanged);
    connect(&m_sheet, &PropertiesSheet::hiddenChanged, this,
            &LocalFilePreviewViewController::contentShownChanged);
    connect(m_sheet.previewImageView(), &ImageView::imageChanged, this,
            &LocalFilePreviewViewController::contentShownChanged);
    // The title names the picture paged to, not the one opened.
    connect(&m_previewController, &FilePreviewController::currentItemChanged, this,
            [this] { setTitle(shownName()); });
    connect(this, &ViewController::viewSizeChanged, this,
            &LocalFilePreviewViewController::followViewSize);
}

void LocalFilePreviewViewController::followViewSize()
{
    // The previewer fills the page: its pictures are decoded for the page's pixels.
    const double scale = screenScale();
    m_previewController.pictures()->setPixelSize(
        QSize(qRound(viewSize().width() * scale), qRound(viewSize().height() * scale)));
}

void LocalFilePreviewViewController::setFilePath(const QString &path)
{
    if (path == m_filePath)
        return;
    m_filePath = path;
    emit filePathChanged();
}

QUrl LocalFilePreviewViewController::pageUrl() const
{
    return QUrl(QStringLiteral("qrc:/Ombrisk/Preview/qml/LocalFilePreviewPage.qml"));
}

void LocalFilePreviewViewController::viewDidLoad()
{
    m_previewController.setDataSource(this);
    setBackButtonTitle(QStringLiteral(""));
    followViewSize();
    addOpenButton();
    if (m_onlyShowFileProperty)
        return;
    if (pagesThroughPictures())
        previewPictureOfFolder();
    else
        preview();
}

void LocalFilePreviewViewController::previewPictureOfFolder()
{
    if (!FilePreviewController::canPreviewItem(m_filePath))
        return;
    // The previewer comes to the front at once; its first picture is decoded while the
    // folder is listed, and neither waits for the other.
    m_sheet.setHidden(true);
    m_previewController.preloadPicture(m_filePath);
    QPointer<LocalFilePreviewViewController> self(this);
    QObject *receiver = DispatchQueue::mainThreadReceiver();
    listingQueue().async([self, receiver, filePath = m_filePath] {
        const QStringList pictures = getAllPhotoFiles(filePath);
        DispatchQueue::main(receiver, [self, pictures] {
            if (!self)
                return;
            self->m_fileUrls = pictures;
            self->preview();
        });
    });
}

void LocalFilePreviewViewController::viewWillAppear(bool animated)
{
    m_sheet.fill(m_filePath);
    setTitle(shownName());
    // The screen has no toolbar items: the folder's toolbar would only cover the preview.
    if (auto *stack = navigationController()) {
        m_toolbarWasHidden = stack->isToolbarHidden();
        stack->setToolbarHidden(true, animated);
    }
}

void LocalFilePreviewViewController::viewWillDisappear(bool animated)
{
    if (auto *stack = navigationController())
        stack->setToolbarHidden(m_toolbarWasHidden, animated);
}

QStringList LocalFilePreviewViewController::getAllPhotoFiles(const QString &filePath)
{
    const QString folder = QFileInfo(filePath).path();
    QStringList pictures;
    for (const QString &path : FileOperations::listFilesInDirectoryAtPath(folder)) {
        const QFileInfo info(path);
        if (Utils::isSupportPhotoFileFormat(info.suffix().toLower()) &&
            !info.fileName().startsWith(u'.'))
            pictures.append(path);
    }
    std::reverse(pictures.begin(), pictures.end());
    return pictures;
}

void LocalFilePreviewViewController::preview()
{
    if (!FilePreviewController::canPreviewItem(m_filePath))
        return;
    m_sheet.setHidden(true);
    const qsizetype start = m_fileUrls.indexOf(m_filePath);
    m_previewController.setCurrentPreviewItemIndex(start < 0 ? FilePreviewController::notFound
                                                             : int(start));
    m_previewController.reloadData();
    m_previewController.refreshCurrentPreviewItem();
}

void LocalFilePreviewViewController::addOpenButton()
{
    if (QFileInfo(m_filePath).isDir())
        return;
    QPointer<LocalFilePreviewViewController> self(this);
    auto *open = BarButtonItem::titled(
        tr("Open"), BarButtonItem::Style::Plain,
        [self] {
            if (self)
                DefaultApplication::open(self->shownPath(), self->textNotice());
        },
        this);
    open->setAccessibleName(tr("Open With Default App"));
    setRightBarButtonItems({open});
}

QString LocalFilePreviewViewController::shownPath() const
{
    const QString paged = m_sheet.isHidden() ? m_previewController.currentItemPath() : QString();
    return paged.isEmpty() ? m_filePath : paged;
}

QString LocalFilePreviewViewController::shownName() const
{
    return QFileInfo(shownPath()).fileName();
}

bool LocalFilePreviewViewController::pagesThroughPictures() const
{
    return Utils::isSupportPhotoFileFormat(QFileInfo(m_filePath).suffix().toLower()) &&
           !m_onlyShowFileProperty;
}

int LocalFilePreviewViewController::numberOfPreviewItems(FilePreviewController *)
{
    return pagesThroughPictures() ? int(m_fileUrls.size()) : 1;
}

QString LocalFilePreviewViewController::previewItemAtIndex(FilePreviewController *, int index)
{
    return pagesThroughPictures() ? m_fileUrls.value(index) : m_filePath;
}

bool LocalFilePreviewViewController::textFieldShouldReturn(const QString &text)
{
    if (!m_renamable)
        return true;
    Error error;
    const bool renamed = FileOperations::renameItemAtPath(m_filePath, text, &error);
    if (error) {
        textNotice()->show(error.message);
    } else if (!renamed) {
        textNotice()->show(tr("Rename failed"));
    } else {
        emit nameFieldResignRequested();
        setFilePath(QFileInfo(m_filePath).dir().filePath(text));
        setTitle(text);
    }
    tellDelegate();
    return true;
}

void LocalFilePreviewViewController::tellDelegate()
{
    if (auto *delegate = qobject_cast<SimpleValueChangedDelegate *>(m_simpleValueChangedDelegate))
        delegate->didChangedValue(this, {});
}

bool LocalFilePreviewViewController::isContentShown() const
{
    if (m_sheet.isHidden())
        return m_previewController.isCurrentItemShown();
    const QString extension = QFileInfo(m_filePath).suffix().toLower();
    return Utils::isSupportMediaFileFormat(extension) ||
           !m_sheet.previewImageView()->image().isNull();
}
