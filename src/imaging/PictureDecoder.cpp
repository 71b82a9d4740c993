// libvips first: its headers use names that Qt defines as macros.
#include <vips/vips.h>

#include "PictureDecoder.h"

#include "ImagingErrors.h"

#include <QCoreApplication>
#include <QFile>
#include <memory>
#include <mutex>

namespace {

struct ImageUnref {
    void operator()(VipsImage *image) const { g_object_unref(image); }
};
using VipsImagePtr = std::unique_ptr<VipsImage, ImageUnref>;

struct BufferFree {
    void operator()(void *buffer) const { g_free(buffer); }
};

void initialiseVips()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (VIPS_INIT("ombrisk") != 0)
            qFatal("libvips cannot start: %s", vips_error_buffer());
        // Files change under the same name in a file manager: never serve an earlier decode.
        vips_cache_set_max(0);
    });
}

Error decodeError(const QString &path)
{
    const QString reason = QString::fromUtf8(vips_error_buffer()).trimmed();
    vips_error_clear();
    return Error(
        ImagingErrors::domain, ImagingErrors::UnreadablePicture,
        QCoreApplication::translate("PictureDecoder", "Cannot decode %1: %2").arg(path, reason));
}

// Runs one vips operation of the form op(in, &out, ...) and takes ownership of its result.
template <typename Operation> VipsImagePtr apply(VipsImage *in, Operation operation)
{
    VipsImage *out = nullptr;
    return operation(in, &out) == 0 ? VipsImagePtr(out) : nullptr;
}

// sRGB, 8 bits, exactly four bands (an opaque alpha added where there is none).
VipsImagePtr toRgba8(VipsImage *image)
{
    VipsImagePtr srgb = apply(image, [](VipsImage *in, VipsImage **out) {
        return vips_colourspace(in, out, VIPS_INTERPRETATION_sRGB, nullptr);
    });
    if (!srgb)
        return nullptr;
    VipsImagePtr withAlpha = vips_image_hasalpha(srgb.get())
                                 ? std::move(srgb)
                                 : apply(srgb.get(), [](VipsImage *in, VipsImage **out) {
                                       return vips_bandjoin_const1(in, out, 255.0, nullptr);
                                   });
    if (!withAlpha)
        return nullptr;
    VipsImagePtr fourBands = apply(withAlpha.get(), [](VipsImage *in, VipsImage **out) {
        return vips_extract_band(in, out, 0, "n", 4, nullptr);
    });
    if (!fourBands)
        return nullptr;
    return apply(fourBands.get(),
                 [](VipsImage *in, VipsImage **out) { return vips_cast_uchar(in, out, nullptr); });
}

// Whether the file starts like a picture libvips reads itself (JPEG, GIF, BMP, TIFF, PNG) or
// like a Photoshop file. Anything else is never handed over: libvips would then try every
// ImageMagick coder on it, a large surface for hostile files and one that has crashed.
bool hasPictureSignature(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(8);
    static const QByteArray signatures[] = {QByteArray("\xFF\xD8\xFF", 3),
                                            QByteArray("GIF8"),
                                            QByteArray("BM"),
                                            QByteArray("II*\0", 4),
                                            QByteArray("MM\0*", 4),
                                            QByteArray("\x89PNG", 4),
                                            QByteArray("8BPS")};
    for (const QByteArray &signature : signatures) {
        if (head.startsWith(signature))
            return true;
    }
    return false;
}

} // namespace

namespace PictureDecoder {

QImage decodeToFit(const QString &path, QSize bounds, Error *error)
{
    initialiseVips();
    const QByteArray fileName = QFile::encodeName(path);
    VipsImage *thumbnail = nullptr;
    if (bounds.isEmpty() || !hasPictureSignature(path)) {
        fail(error, Error(ImagingErrors::domain, ImagingErrors::UnreadablePicture,
                          QCoreApplication::translate("PictureDecoder",
                                                      "%1 is not a picture that can be read")
                              .arg(path)));
        return {};
    }
    if (vips_thumbnail(fileName.constData(), &thumbnail, bounds.width(), "height", bounds.height(),
                       nullptr) != 0) {
        fail(error, decodeError(path));
        return {};
    }
    const VipsImagePtr decoded(thumbnail);
    const VipsImagePtr rgba = toRgba8(decoded.get());
    size_t length = 0;
    std::unique_ptr<void, BufferFree> pixels(rgba ? vips_image_write_to_memory(rgba.get(), &length)
                                                  : nullptr);
    if (!pixels) {
        fail(error, decodeError(path));
        return {};
    }
    const int width = vips_image_get_width(rgba.get());
    const int height = vips_image_get_height(rgba.get());
    return QImage(static_cast<const uchar *>(pixels.get()), width, height, width * 4,
                  QImage::Format_RGBA8888)
        .copy();
}

} // namespace PictureDecoder
