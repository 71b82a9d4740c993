#include "PicturePager.h"

#include <QHash>
#include <algorithm>
#include <cstdlib>

using Decode = PictureDecodeSchedule::Decode;

namespace {

// Whether a picture of `size` is what fitting it into `bounds` gives, give or take the rounding
// of one pixel: a fitted picture need not be decoded again for slightly different bounds.
bool fits(QSize size, QSize bounds)
{
    const QSize fitted = size.scaled(bounds, Qt::KeepAspectRatio);
    return std::abs(fitted.width() - size.width()) <= 1 &&
           std::abs(fitted.height() - size.height()) <= 1;
}

} // namespace

PicturePager::PicturePager(QObject *parent)
    : QAbstractListModel(parent),
      m_schedule(this,
                 [this](const Decode &decode, const QImage &picture) { decoded(decode, picture); })
{
}

void PicturePager::setPaths(const QStringList &paths, int currentIndex)
{
    QHash<QString, Page> former;
    for (int index = 0; index < int(m_pages.size()); ++index) {
        if (!m_pages[size_t(index)].picture.isNull() || m_pages[size_t(index)].failed)
            former.insert(m_paths.at(index), m_pages[size_t(index)]);
    }
    beginResetModel();
    m_paths = paths;
    m_pages.assign(size_t(paths.size()), Page{});
    m_current = std::clamp(currentIndex, 0, std::max(0, int(paths.size()) - 1));
    for (int index = 0; index < int(m_pages.size()); ++index) {
        const auto kept = former.constFind(m_paths.at(index));
        if (kept != former.cend() && isKept(index) && (!kept->fullResolution || index == m_current))
            m_pages[size_t(index)] = *kept;
    }
    endResetModel();
    scheduleDecodes();
}

void PicturePager::setPixelSize(QSize size)
{
    if (size == m_pixelSize)
        return;
    m_pixelSize = size;
    emit pixelSizeChanged();
    // The shown pictures stay until their new decodes replace them.
    scheduleDecodes();
}

void PicturePager::setCurrentIndex(int index)
{
    if (index == m_current || index < 0 || index >= int(m_pages.size()))
        return;
    m_current = index;
    dropPagesOutOfReach();
    scheduleDecodes();
}

bool PicturePager::isKept(int index) const
{
    return index >= m_current - decodedAhead && index <= m_current + decodedAhead &&
           index >= 0 && index < int(m_pages.size());
}

bool PicturePager::hasFittingPicture(const Page &page) const
{
    return !page.picture.isNull() && (page.fullResolution || page.bounds == m_pixelSize ||
                                      fits(page.picture.size(), m_pixelSize));
}

void PicturePager::dropPagesOutOfReach()
{
    for (int index = 0; index < int(m_pages.size()); ++index) {
        Page &page = m_pages[size_t(index)];
        const bool keep = isKept(index) && !(page.fullResolution && index != m_current);
        if (keep)
            continue;
        const bool held = !page.picture.isNull() || page.failed;
        page = Page{};
        if (held)
            pageChanged(index);
    }
}

void PicturePager::scheduleDecodes()
{
    std::vector<Decode> wanted;
    const auto want = [&](int index, bool inSight) {
        const Page &page = m_pages[size_t(index)];
        if (!page.failed && !hasFittingPicture(page))
            wanted.push_back({m_paths.at(index), m_pixelSize, false, inSight});
    };
    if (!m_pixelSize.isEmpty() && isKept(m_current)) {
        want(m_current, true);
        const Page &current = m_pages[size_t(m_current)];
        if (current.fullResolutionWanted && !current.fullResolution && !current.failed)
            wanted.push_back({m_paths.at(m_current),
                              QSize(fullResolutionLimit, fullResolutionLimit), true, false});
        for (int offset = 1; offset <= decodedAhead; ++offset) {
            for (int index : {m_current + offset, m_current - offset}) {
                if (isKept(index))
                    want(index, false);
            }
        }
    }
    m_schedule.want(std::move(wanted));
}

void PicturePager::requestFullResolution(int index)
{
    if (index != m_current || !isKept(index))
        return;
    m_pages[size_t(index)].fullResolutionWanted = true;
    scheduleDecodes();
}

void PicturePager::decoded(const Decode &decode, const QImage &picture)
{
    // Found by path: the list may have changed since the decode was asked for.
    for (int index = std::max(0, m_current - decodedAhead); isKept(index); ++index) {
        if (m_paths.at(index) != decode.path)
            continue;
        Page &page = m_pages[size_t(index)];
        if (decode.fullResolution) {
            // Only the current page zooms; a failure leaves the fitted picture in place.
            if (index != m_current)
                continue;
            if (picture.isNull()) {
                page.fullResolutionWanted = false;
                continue;
            }
        } else if (page.fullResolution || (decode.bounds != m_pixelSize && !picture.isNull() &&
                                           !fits(picture.size(), m_pixelSize))) {
            continue; // a sharper picture is shown, or this one is for a former size
        }
        page.picture = picture;
        page.failed = picture.isNull();
        page.fullResolution = decode.fullResolution;
        page.bounds = decode.bounds;
        pageChanged(index);
        emit pageDecoded(index);
    }
    scheduleDecodes();
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
