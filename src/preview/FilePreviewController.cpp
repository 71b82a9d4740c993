#include "FilePreviewController.h"

#include <algorithm>

using PreviewKinds::Kind;

FilePreviewController::FilePreviewController(QObject *parent) : QObject(parent)
{
    connect(&m_pictures, &PicturePager::pageDecoded, this, [this](int index) {
        if (m_currentKind == Kind::Picture && index == m_currentIndex)
            setCurrentItemShown(true);
    });
    connect(&m_document, &PdfDocumentPreview::pageRendered, this, [this](int page) {
        if (m_currentKind == Kind::Pdf && page == m_document.shownPage())
            setCurrentItemShown(true);
    });
    connect(&m_document, &PdfDocumentPreview::documentChanged, this, [this] {
        if (m_currentKind == Kind::Pdf && !m_document.errorText().isEmpty())
            setCurrentItemShown(true);
    });
    connect(&m_text, &TextPreview::loadedChanged, this, [this] {
        if ((m_currentKind == Kind::Text || m_currentKind == Kind::Markdown) && m_text.isLoaded())
            setCurrentItemShown(true);
    });
}

bool FilePreviewController::canPreviewItem(const QString &path)
{
    return PreviewKinds::kindOfFile(path) != Kind::None;
}

void FilePreviewController::setCurrentPreviewItemIndex(int index)
{
    m_currentIndex = index;
    if (index >= 0 && index < count())
        showItem(index);
}

void FilePreviewController::reloadData()
{
    m_items.clear();
    const int number = m_dataSource ? m_dataSource->numberOfPreviewItems(this) : 0;
    for (int index = 0; index < number; ++index)
        m_items.append(m_dataSource->previewItemAtIndex(this, index));
    m_pictures.setPaths(m_items, m_currentIndex);
    emit itemsChanged();
}

void FilePreviewController::preloadPicture(const QString &path)
{
    m_pictures.setPaths({path}, 0);
}

void FilePreviewController::refreshCurrentPreviewItem()
{
    if (count() > 0)
        showItem(std::clamp(m_currentIndex, 0, count() - 1));
}

void FilePreviewController::showNextItem()
{
    if (m_currentIndex + 1 < count())
        showItem(m_currentIndex + 1);
}

void FilePreviewController::showPreviousItem()
{
    if (m_currentIndex > 0 && m_currentIndex - 1 < count())
        showItem(m_currentIndex - 1);
}

void FilePreviewController::pagedTo(int index)
{
    if (index >= 0 && index < count() && index != m_currentIndex)
        showItem(index);
}

QString FilePreviewController::currentItemPath() const
{
    return m_currentIndex >= 0 && m_currentIndex < count() ? m_items.at(m_currentIndex) : QString();
}

QString FilePreviewController::indicatorText() const
{
    if (count() < 2 || m_currentIndex < 0)
        return {};
    return tr("%1 of %2").arg(m_currentIndex + 1).arg(count());
}

void FilePreviewController::showItem(int index)
{
    m_currentIndex = index;
    const QString path = m_items.at(index);
    m_currentKind = PreviewKinds::kindOfFile(path);
    m_pictures.setCurrentIndex(index);
    if (m_currentKind == Kind::Pdf)
        m_document.load(path);
    else
        m_document.close();
    if (m_currentKind == Kind::Text || m_currentKind == Kind::Markdown)
        m_text.load(path, m_currentKind == Kind::Markdown);
    else
        m_text.clear();
    setCurrentItemShown(m_currentKind == Kind::None ||
                        (m_currentKind == Kind::Picture &&
                         (!m_pictures.pictureAt(index).isNull() || m_pictures.hasFailedAt(index))) ||
                        (m_currentKind == Kind::Pdf && !m_document.errorText().isEmpty()));
    emit currentItemChanged();
}

void FilePreviewController::setCurrentItemShown(bool shown)
{
    if (shown == m_currentItemShown)
        return;
    m_currentItemShown = shown;
    emit currentItemShownChanged();
}
