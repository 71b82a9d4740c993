#include "PicturePager.h"

#include "DispatchQueue.h"
#include "MainThreadReceiver.h"
#include "PictureDecoder.h"

#include <QCoreApplication>
#include <QPointer>
#include <algorithm>

namespace {

DispatchQueue &decodeQueue()
{
    static auto *queue = new DispatchQueue(QStringLiteral("PicturePager.decodeQueue"));
    return *queue;
}

} // namespace

PicturePager::PicturePager(QObject *parent) : QAbstractListModel(parent) {}

void PicturePager::setPaths(const QStringList &paths, int currentIndex)
{
    beginResetModel();
    ++m_generation;
    m_paths = paths;
    m_pages.assign(size_t(paths.size()), Page{});
    m_current = std::clamp(currentIndex, 0, std::max(0, int(paths.size()) - 1));
    endResetModel();
    decodeKeptPages();
}

void PicturePager::setPixelSize(QSize size)
{
    if (size == m_pixelSize)
        return;
    ++m_generation;
    m_pixelSize = size;
    for (Page &page : m_pages)
        page.pending = false;
    emit pixelSizeChanged();
    // The shown pictures stay until their new decodes replace them.
    for (int index = 0; index < int(m_pages.size()); ++index) {
        if (isKept(index))
            decode(index, false);
    }
}

void PicturePager::setCurrentIndex(int index)
{
    if (index == m_current || index < 0 || index >= int(m_pages.size()))
        return;
    m_current = index;
    dropPagesOutOfReach();
    decodeKeptPages();
}

bool PicturePager::isKept(int index) const
{
    return index >= m_current - decodedAhead && index <= m_current + decodedAhead &&
           index >= 0 && index < int(m_pages.size());
}

void PicturePager::dropPagesOutOfReach()
{
    for (int index = 0; index < int(m_pages.size()); ++index) {
        Page &page = m_pages[size_t(index)];
        const bool keep = isKept(index) && !(page.fullResolution && index != m_current);
        if (!keep && (!page.picture.isNull() || page.failed)) {
            const bool pending = page.pending;
            page = Page{};
            page.pending = pending;
            pageChanged(index);
        }
    }
}

void PicturePager::decodeKeptPages()
{
    for (int offset : {0, 1, -1}) {
        const int index = m_current + offset;
        if (!isKept(index))
            continue;
        const Page &page = m_pages[size_t(index)];
        if (page.picture.isNull() && !page.failed && !page.pending)
            decode(index, false);
    }
}

void PicturePager::requestFullResolution(int index)
{
    if (index != m_current || !isKept(index))
        return;
    const Page &page = m_pages[size_t(index)];
    if (!page.fullResolution && !page.failed)
        decode(index, true);
}

void PicturePager::decode(int index, bool fullResolution)
{
    if (m_pixelSize.isEmpty())
        return;
    m_pages[size_t(index)].pending = true;
    const QString path = m_paths.at(index);
    const QSize bounds = m_pixelSize;
    const quint64 generation = m_generation;
    QPointer<PicturePager> weakSelf(this);
    QObject *receiver = mainThreadReceiver();
    decodeQueue().async([=] {
        const QImage picture =
            fullResolution ? PictureDecoder::decodeFullSize(path, fullResolutionLimit)
                           : PictureDecoder::decodeToFit(path, bounds);
        DispatchQueue::main(receiver, [=] {
            if (weakSelf)
                weakSelf->decoded(index, generation, picture, fullResolution);
        });
    });
}

void PicturePager::decoded(int index, quint64 generation, const QImage &picture,
                           bool fullResolution)
{
    if (generation != m_generation)
        return;
    Page &page = m_pages[size_t(index)];
    page.pending = false;
    // Left behind while it was decoded, or a full picture for a page no longer current.
    if (!isKept(index) || (fullResolution && index != m_current))
        return;
    if (picture.isNull() && fullResolution)
        return; // the picture fitted to the window stays
    if (!fullResolution && page.fullResolution)
        return;
    page.picture = picture;
    page.failed = picture.isNull();
    page.fullResolution = fullResolution;
    pageChanged(index);
    emit pageDecoded(index);
}

void PicturePager::pageChanged(int index)
{
    const QModelIndex changed = this->index(index);
    emit dataChanged(changed, changed);
}

QImage PicturePager::pictureAt(int index) const
{
    return index >= 0 && index < int(m_pages.size()) ? m_pages[size_t(index)].picture : QImage();
}

bool PicturePager::hasFailedAt(int index) const
{
    return index >= 0 && index < int(m_pages.size()) && m_pages[size_t(index)].failed;
}

bool PicturePager::isFullResolutionAt(int index) const
{
    return index >= 0 && index < int(m_pages.size()) && m_pages[size_t(index)].fullResolution;
}

int PicturePager::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_pages.size());
}

QVariant PicturePager::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_pages.size()))
        return {};
    const Page &page = m_pages[size_t(index.row())];
    switch (role) {
    case PathRole:
        return m_paths.at(index.row());
    case PictureRole:
        return page.picture;
    case FailedRole:
        return page.failed;
    case FullResolutionRole:
        return page.fullResolution;
    default:
        return {};
    }
}

QHash<int, QByteArray> PicturePager::roleNames() const
{
    return {{PathRole, "path"},
            {PictureRole, "picture"},
            {FailedRole, "failed"},
            {FullResolutionRole, "fullResolution"}};
}
