#pragma once

#include "PictureDecodeSchedule.h"

#include <QAbstractListModel>
#include <QImage>
#include <QSize>
#include <QStringList>
#include <QtQml/qqmlregistration.h>
#include <vector>

// The pictures the previewer pages through, as a list model for the paging view: one row per
// path, with the picture decoded at the window's pixel size (PictureDecoder, orientation
// applied, JPEGs shrunk while they load) off the main thread. Only the current page and its
// neighbours hold a picture: the current one is decoded first, then the next, then the
// previous, so paging never waits and memory stays the same whatever the number of pictures.
// Each change of page states the wanted decodes anew (PictureDecodeSchedule): those of pages
// already left behind are dropped before they start, and the page in sight goes before
// everything, thumbnails included. The current page may be decoded again at its full resolution
// (`requestFullResolution`) for zooming in; that picture is dropped when the page is left.
//
// A new list keeps the pictures, and the decodes under way, of the paths it shares with the
// former one, so the picture to be shown first may be decoded before the list is known
// (`setPaths({path}, 0)`), and reloading the same list decodes nothing again. A picture that
// already fits a new pixel size is kept as it is.
//
// Thread-safety: main thread only; decoding runs on the schedule's queue and its results come
// back on the main thread.
class PicturePager : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the previewer")
    Q_PROPERTY(QSize pixelSize READ pixelSize WRITE setPixelSize NOTIFY pixelSizeChanged)

public:
    enum Role { PathRole = Qt::UserRole + 1, PictureRole, FailedRole, FullResolutionRole };
    // Neighbours kept decoded on each side of the current page.
    static constexpr int decodedAhead = 1;
    // The longest side a full-resolution picture is decoded to (a texture's usual limit).
    static constexpr int fullResolutionLimit = 8192;

    explicit PicturePager(QObject *parent = nullptr);

    // A new list, shown from `currentIndex` (clamped into the list); pages whose path was in the
    // former list and stays within reach keep their picture.
    void setPaths(const QStringList &paths, int currentIndex);
    QStringList paths() const { return m_paths; }

    QSize pixelSize() const { return m_pixelSize; }
    // The size pictures are decoded to fit; a change decodes again the kept pages whose picture
    // does not fit it, showing the former picture meanwhile.
    void setPixelSize(QSize size);

    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);

    // Decodes the page at its own resolution, once; only the current page may ask.
    Q_INVOKABLE void requestFullResolution(int index);

    QImage pictureAt(int index) const;
    bool hasFailedAt(int index) const;
    bool isFullResolutionAt(int index) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void pixelSizeChanged();
    // A page got its picture, or failed to.
    void pageDecoded(int index);

private:
    struct Page {
        QImage picture;
        QSize bounds; // what the picture was decoded to fit
        bool failed = false;
        bool fullResolution = false;
        bool fullResolutionWanted = false;
    };

    bool isKept(int index) const;
    bool hasFittingPicture(const Page &page) const;
    void dropPagesOutOfReach();
    void scheduleDecodes();
    void decoded(const PictureDecodeSchedule::Decode &decode, const QImage &picture);
    void pageChanged(int index);

    QStringList m_paths;
    std::vector<Page> m_pages;
    QSize m_pixelSize;
    int m_current = 0;
    PictureDecodeSchedule m_schedule;
};
