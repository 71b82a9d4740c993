#include "Thumbnail.h"

#include "DecodePriority.h"
#include "HomePaths.h"
#include "ImagingErrors.h"
#include "PictureDecoder.h"
#include "ScreenScale.h"
#include "SharedThumbnails.h"
#include "ThumbnailCache.h"
#include "UndecodablePictures.h"
#include "Utils.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QPointer>
#include <QThread>
#include <algorithm>

Q_LOGGING_CATEGORY(lcThumbnail, "ombrisk.thumbnail")

namespace {

// What a making task needs, all captured on the main thread when the request is made.
struct Request {
    QPointer<ImageView> view; // only copied off the main thread, never followed there
    QString path;
    QString key;
    QSizeF size;
    double scale = 1;
    Thumbnail::Decoder decoder;
    bool entry = false; // a part of the file at `path` (an archive's entry), not the whole file
};

void apply(const Request &request, const QImage &thumbnail)
{
    if (request.view && request.view->requestedImageKey() == request.key)
        request.view->setImage(thumbnail);
}

QImage composed(QImage picture, const Request &request)
{
    // Fitted as a decode to the view's size would be: small pictures enlarged too.
    const QSize bounds = (request.size * request.scale).toSize();
    if (picture.size() != picture.size().scaled(bounds, Qt::KeepAspectRatio))
        picture = picture.scaled(bounds, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(request.scale);
    return Thumbnail::addImage(
        picture, Thumbnail::createImageWithColor(Qt::transparent, request.size, request.scale));
}

bool gaveWay(const Error &error)
{
    return error.domain == ImagingErrors::domain && error.code == ImagingErrors::GaveWay;
}

// Decoded at the size of the shared kind that holds the view's (then kept for other programs
// too), or at the view's own size where none does.
QImage decodeAndShare(const Request &request, Error *error)
{
    const QSize bounds = (request.size * request.scale).toSize();
    const auto side = SharedThumbnails::sideFor(std::max(bounds.width(), bounds.height()));
    const QImage picture =
        request.decoder(request.path, side ? QSize(*side, *side) : bounds, error);
    if (picture.isNull()) {
        if (!gaveWay(*error))
            SharedThumbnails::storeFailure(request.path);
        return picture;
    }
    Error shareError;
    if (side && !SharedThumbnails::store(request.path, picture, *side, &shareError))
        qCInfo(lcThumbnail).noquote() << shareError.message;
    return composed(picture, request);
}

// A whole file's picture: one the desktop shares is taken before any decoding; a file that
// failed to decode is not tried again until it changes.
QImage makeForFile(const Request &request, Error *error)
{
    const auto version = UndecodablePictures::versionOf(request.path);
    if (version && UndecodablePictures::contains(*version))
        return {};
    const QSize bounds = (request.size * request.scale).toSize();
    const QImage shared =
        SharedThumbnails::lookUp(request.path, std::max(bounds.width(), bounds.height()));
    if (!shared.isNull())
        return composed(shared, request);
    QImage thumbnail;
    if (!SharedThumbnails::hasFailed(request.path)) {
        // A decode stopped for a picture that came in sight is made again once that is in.
        do {
            *error = Error();
            DecodePriority::waitWhilePicturesInSight();
            thumbnail = decodeAndShare(request, error);
        } while (gaveWay(*error));
    }
    if (thumbnail.isNull() && version)
        UndecodablePictures::remember(*version);
    return thumbnail;
}

// An entry's picture: the desktop's thumbnails and the memory of failures are per file.
QImage makeForEntry(const Request &request, Error *error)
{
    DecodePriority::waitWhilePicturesInSight();
    const QImage picture =
        request.decoder(request.path, (request.size * request.scale).toSize(), error);
    return picture.isNull() ? picture : composed(picture, request);
}

// On the thumbnail queue. A thumbnail in a cache file, or made for an earlier request of the
// same key (a row scrolled away and back before its turn came), is used as it is.
void addLocalImageTask(const Request &request)
{
    ThumbnailCache &cache = ThumbnailCache::sharedCache();
    QImage thumbnail = cache.objectForKey(request.key);
    if (thumbnail.isNull()) {
        Error error;
        thumbnail = request.entry ? makeForEntry(request, &error) : makeForFile(request, &error);
        if (thumbnail.isNull()) {
            if (!error.message.isEmpty())
                qCInfo(lcThumbnail).noquote() << error.message;
            return;
        }
        if (!cache.setObject(thumbnail, request.key, &error))
            qCWarning(lcThumbnail).noquote() << error.message;
    }
    DispatchQueue::main(DispatchQueue::mainThreadReceiver(),
                        [request, thumbnail] { apply(request, thumbnail); });
}

void queueMaking(const Request &request, Thumbnail::Turn turn)
{
    auto task = [request] { addLocalImageTask(request); };
    if (turn == Thumbnail::Turn::First)
        Thumbnail::sharedImageThumbnailQueue().asyncFirst(std::move(task));
    else
        Thumbnail::sharedImageThumbnailQueue().async(std::move(task));
}

// `keyPath` names what the thumbnail shows: `path`, or an entry below it.
void request(ImageView *view, const QString &path, const QString &keyPath, Thumbnail::Turn turn,
             Thumbnail::Decoder decoder)
{
    Q_ASSERT(QThread::currentThread() == view->thread());
    const QSizeF size = view->frameSize();
    if (size.isEmpty()) {
        view->setRequestedImageKey(QString());
        return;
    }
    const Request request{view,
                          path,
                          Thumbnail::cachedFileNameWithSizeForKey(
                              HomePaths::listingPath(keyPath).value_or(keyPath), size),
                          size,
                          screenScale(),
                          std::move(decoder),
                          keyPath != path};
    view->setRequestedImageKey(request.key);
    // Only the memory layer is asked here; reading a cache file is left to the queue, as
    // decoding a large PNG could hold the main thread up.
    const QImage cached = ThumbnailCache::sharedCache().objectInMemoryForKey(request.key);
    if (cached.isNull()) {
        queueMaking(request, turn);
        return;
    }
    // Set later even on a hit: the caller's own image goes in first and is then replaced.
    DispatchQueue::main(view, [request, cached] { apply(request, cached); });
}

} // namespace

namespace Thumbnail {

void cr_setLocalImageFilePath(ImageView *view, const QString &path, Turn turn)
{
    request(view, path, path, turn, [](const QString &file, QSize bounds, Error *error) {
        return PictureDecoder::decodeThumbnailToFit(file, bounds, error);
    });
}

void setImageFromFile(ImageView *view, const QString &path, Decoder decoder)
{
    request(view, path, path, Turn::InOrder, std::move(decoder));
}

void setImageOfEntry(ImageView *view, const QString &archivePath, const QString &entryPath,
                     Decoder decoder)
{
    // No file can be both the archive and a folder holding the entry: the key is the entry's own.
    request(view, archivePath, archivePath + u'/' + entryPath, Turn::InOrder, std::move(decoder));
}

bool isMadeFor(const QString &extension)
{
    return Utils::isSupportPhotoFileFormat(extension.toLower()) ||
           extension.compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
}

QString cachedFileNameWithSizeForKey(const QString &relativePath, QSizeF size)
{
    return Utils::cachedFileNameForKey(relativePath +
                                       QString::asprintf("%f%f", size.width(), size.height()));
}

DispatchQueue &sharedImageThumbnailQueue()
{
    static auto *queue = new DispatchQueue(QStringLiteral("THUMBNAIL_IMAGE_DISPATCH_QUEUE"));
    return *queue;
}

} // namespace Thumbnail
