#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

// The picture decodes a pager wants, run one at a time on the serial queue
// "PicturePager.decodeQueue", most urgent first. The owner states its whole need again whenever
// it changes (`want`): a decode no longer in the list is dropped before it starts, so paging
// fast leaves no trail of decodes for the pages passed, and the page in sight never waits behind
// them. A decode already under way, or done and not yet delivered, is never started twice:
// `want` leaves it out. While a decode marked in sight is wanted or under way, a
// DecodePriority::InSight lives, so thumbnails wait.
//
// Results come back on the main thread through the delivery function, in the order the decodes
// end; one that ends after the owner is gone is dropped.
//
// Thread-safety: make it and call `want` on the main thread; decoding runs on the queue.
class PictureDecodeSchedule {
public:
    struct Decode {
        QString path;
        QSize bounds;                // fitted into, or the longest side at full resolution
        bool fullResolution = false; // never enlarged; only shrunk to the bounds
        bool inSight = false;
        bool isSameWork(const Decode &other) const
        {
            return path == other.path && bounds == other.bounds &&
                   fullResolution == other.fullResolution;
        }
    };
    // Called on the main thread with a finished decode: the picture, or a null image when the
    // file cannot be decoded.
    using Delivery = std::function<void(const Decode &decode, const QImage &picture)>;

    PictureDecodeSchedule(QObject *owner, Delivery delivery);
    ~PictureDecodeSchedule();
    PictureDecodeSchedule(const PictureDecodeSchedule &) = delete;
    PictureDecodeSchedule &operator=(const PictureDecodeSchedule &) = delete;

    // The decodes wanted now, most urgent first; replaces the former list.
    void want(std::vector<Decode> decodes);

    struct State;

private:
    std::shared_ptr<State> m_state;
};
