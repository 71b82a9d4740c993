// libvips first: its headers use names that Qt defines as macros.
#include <vips/vips.h>

#include "PictureDecoder.h"

#include "ImagingErrors.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
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

Error notAPictureError(const QString &path)
{
    return Error(
        ImagingErrors::domain, ImagingErrors::UnreadablePicture,
        QCoreApplication::translate("PictureDecoder", "%1 is not a picture that can be read")
            .arg(path));
}

// The head of the file, empty when it cannot be read.
QByteArray fileHead(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(PictureDecoder::signatureLength) : QByteArray();
}

// Decodes `path` to fit `bounds`; `size` is libvips's VipsSize (both ways, or down only).
QImage decode(const QString &path, QSize bounds, VipsSize size, Error *error)
{
    initialiseVips();
    const QByteArray fileName = QFile::encodeName(path);
    VipsImage *thumbnail = nullptr;
    if (bounds.isEmpty() || PictureDecoder::signatureKind(fileHead(path)) ==
                                PictureDecoder::SignatureKind::None) {
        fail(error, notAPictureError(path));
        return {};
    }
    if (vips_thumbnail(fileName.constData(), &thumbnail, bounds.width(), "height", bounds.height(),
                       "size", size, nullptr) != 0) {
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

bool startsWithAny(const QByteArray &head, std::initializer_list<QByteArray> signatures)
{
    return std::any_of(signatures.begin(), signatures.end(),
                       [&head](const QByteArray &signature) { return head.startsWith(signature); });
}

// SVG text: markup (an XML declaration, comments or a doctype may come first) holding <svg.
bool looksLikeSvg(const QByteArray &head)
{
    return head.trimmed().startsWith('<') && head.contains("<svg") && !head.contains('\0');
}

} // namespace

namespace PictureDecoder {

SignatureKind signatureKind(const QByteArray &head)
{
    // Formats libvips reads itself, and Photoshop files through ImageMagick's one coder.
    if (startsWithAny(head, {QByteArray("\xFF\xD8\xFF", 3), QByteArray("GIF8"), QByteArray("BM"),
                             QByteArray("II*\0", 4), QByteArray("MM\0*", 4),
                             QByteArray("\x89PNG", 4), QByteArray("8BPS")}))
        return SignatureKind::Raster;
    if (head.startsWith("RIFF") && head.mid(8, 4) == "WEBP")
        return SignatureKind::Raster;
    return looksLikeSvg(head) ? SignatureKind::Svg : SignatureKind::None;
}

QImage decodeToFit(const QString &path, QSize bounds, Error *error)
{
    return decode(path, bounds, VIPS_SIZE_BOTH, error);
}

QImage decodeFullSize(const QString &path, int maximumSide, Error *error)
{
    return decode(path, QSize(maximumSide, maximumSide), VIPS_SIZE_DOWN, error);
}

} // namespace PictureDecoder
