// libvips first: its headers use names that Qt defines as macros.
#include <vips/vips.h>

#include "PictureDecoder.h"

#include "DecodePriority.h"
#include "ImagingErrors.h"
#include "VipsStart.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>

namespace {

struct ImageUnref {
    void operator()(VipsImage *image) const { g_object_unref(image); }
};
using VipsImagePtr = std::unique_ptr<VipsImage, ImageUnref>;

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

// sRGB, 8 bits: three bands, or four when the picture has an alpha channel.
VipsImagePtr toSrgb8(VipsImage *image)
{
    VipsImagePtr srgb = apply(image, [](VipsImage *in, VipsImage **out) {
        return vips_colourspace(in, out, VIPS_INTERPRETATION_sRGB, nullptr);
    });
    if (!srgb)
        return nullptr;
    const int bands = vips_image_hasalpha(srgb.get()) ? 4 : 3;
    VipsImagePtr fitted = vips_image_get_bands(srgb.get()) == bands
                              ? std::move(srgb)
                              : apply(srgb.get(), [bands](VipsImage *in, VipsImage **out) {
                                    return vips_extract_band(in, out, 0, "n", bands, nullptr);
                                });
    if (!fitted || vips_image_get_format(fitted.get()) == VIPS_FORMAT_UCHAR)
        return fitted;
    return apply(fitted.get(),
                 [](VipsImage *in, VipsImage **out) { return vips_cast_uchar(in, out, nullptr); });
}

// The pixels in the formats the scene graph and QPainter take as they are: RGB32 for an opaque
// picture, premultiplied ARGB32 with alpha. Qt's converters do this faster than more vips
// operations would, and the vips buffer is freed with the temporary image.
QImage toNativeImage(VipsImage *srgb8)
{
    size_t length = 0;
    void *pixels = vips_image_write_to_memory(srgb8, &length);
    if (!pixels)
        return {};
    const int width = vips_image_get_width(srgb8);
    const int bands = vips_image_get_bands(srgb8);
    const QImage wrapped(
        static_cast<const uchar *>(pixels), width, vips_image_get_height(srgb8), width * bands,
        bands == 4 ? QImage::Format_RGBA8888 : QImage::Format_RGB888, g_free, pixels);
    return wrapped.convertToFormat(bands == 4 ? QImage::Format_ARGB32_Premultiplied
                                              : QImage::Format_RGB32);
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
    return file.open(QIODevice::ReadOnly) ? file.read(PictureDecoder::signatureLength)
                                          : QByteArray();
}

const QByteArray jpegSignature("\xFF\xD8\xFF", 3);
const QByteArray bmpSignature("BM");
const QByteArray psdSignature("8BPS");
const QByteArray pdfSignature("%PDF-");

// The libvips module that reads a file of this head, for those not read by libvips itself.
const char *moduleFor(const QByteArray &head)
{
    if (head.startsWith(bmpSignature) || head.startsWith(psdSignature))
        return "magick";
    return head.startsWith(pdfSignature) ? "poppler" : nullptr;
}

// The largest shrink libjpeg applies while decoding (1, 2, 4 or 8) that leaves the picture at
// least as large as it is to fit `bounds`; libvips resizes the rest. vips_thumbnail keeps a
// factor of two for its own resize, so a 4000-pixel photograph for a 1280-pixel window would be
// decoded whole: shrunk by 2 while it loads, it costs about half the processor. The scaled
// inverse DCT drops the frequencies the smaller picture cannot hold, so text and photographs
// look as from a whole decode (only a synthetic zone plate shows some moire), and zooming past
// the window decodes the whole picture anyway.
int jpegShrink(VipsImage *header, QSize bounds)
{
    const bool turned = vips_image_get_orientation_swap(header);
    const double width = turned ? vips_image_get_height(header) : vips_image_get_width(header);
    const double height = turned ? vips_image_get_width(header) : vips_image_get_height(header);
    const double factor = std::max(width / bounds.width(), height / bounds.height());
    int shrink = 1;
    while (shrink < 8 && factor >= shrink * 2)
        shrink *= 2;
    return shrink;
}

// A picture made lazily, and the first image of its pipeline that can be stopped: libvips checks
// an image's kill flag each time pixels of it are asked for, so the loader's output stops the
// decode within a few lines.
struct Pipeline {
    VipsImagePtr result;
    VipsImagePtr source;
};

VipsImagePtr shared(VipsImage *image)
{
    g_object_ref(image);
    return VipsImagePtr(image);
}

// The picture fitted into `bounds`, upright; `size` is libvips's VipsSize (both ways, or down
// only). A JPEG is shrunk while it loads, anything else goes the thumbnail path's own way.
Pipeline fitted(const QByteArray &fileName, bool jpeg, QSize bounds, VipsSize size)
{
    VipsImage *out = nullptr;
    if (!jpeg) {
        if (vips_thumbnail(fileName.constData(), &out, bounds.width(), "height", bounds.height(),
                           "size", size, nullptr) != 0)
            return {};
        return {VipsImagePtr(out), shared(out)};
    }
    VipsImage *header = nullptr;
    if (vips_jpegload(fileName.constData(), &header, nullptr) != 0)
        return {};
    const int shrink = jpegShrink(VipsImagePtr(header).get(), bounds);
    VipsImage *loaded = nullptr;
    if (vips_jpegload(fileName.constData(), &loaded, "shrink", shrink, "access",
                      VIPS_ACCESS_SEQUENTIAL, nullptr) != 0)
        return {};
    VipsImagePtr source(loaded);
    VipsImagePtr result = apply(loaded, [bounds, size](VipsImage *in, VipsImage **resized) {
        return vips_thumbnail_image(in, resized, bounds.width(), "height", bounds.height(), "size",
                                    size, nullptr);
    });
    return {std::move(result), std::move(source)};
}

enum class Accept { Pictures, PicturesAndDocuments };
enum class Urgency { InSight, GivesWay };

bool accepted(const QByteArray &head, Accept accept)
{
    return PictureDecoder::signatureKind(head) != PictureDecoder::SignatureKind::None ||
           (accept == Accept::PicturesAndDocuments && head.startsWith(pdfSignature));
}

// Decodes `path` to fit `bounds`; `size` is libvips's VipsSize (both ways, or down only).
QImage decode(const QString &path, QSize bounds, VipsSize size, Error *error,
              Accept accept = Accept::Pictures, Urgency urgency = Urgency::InSight)
{
    const QByteArray head = fileHead(path);
    if (bounds.isEmpty() || !accepted(head, accept)) {
        fail(error, notAPictureError(path));
        return {};
    }
    // Only now: a file that is no picture need not start libvips.
    if (const char *module = moduleFor(head))
        VipsStart::openModule(module);
    else
        VipsStart::start();
    const Pipeline decoded =
        fitted(QFile::encodeName(path), head.startsWith(jpegSignature), bounds, size);
    const VipsImagePtr srgb8 = decoded.result ? toSrgb8(decoded.result.get()) : nullptr;
    std::atomic<bool> stopped = false;
    std::optional<DecodePriority::GivingWay> givingWay;
    if (srgb8 && urgency == Urgency::GivesWay) {
        givingWay.emplace([source = decoded.source.get(), &stopped] {
            stopped = true;
            vips_image_set_kill(source, TRUE);
        });
    }
    QImage image = srgb8 ? toNativeImage(srgb8.get()) : QImage();
    givingWay.reset();
    if (!image.isNull())
        return image;
    if (stopped) {
        vips_error_clear();
        fail(error, Error(ImagingErrors::domain, ImagingErrors::GaveWay,
                          QStringLiteral("%1 gave way to a picture in sight").arg(path)));
    } else {
        fail(error, decodeError(path));
    }
    return image;
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
    if (startsWithAny(head,
                      {jpegSignature, QByteArray("GIF8"), bmpSignature, QByteArray("II*\0", 4),
                       QByteArray("MM\0*", 4), QByteArray("\x89PNG", 4), psdSignature}))
        return SignatureKind::Raster;
    if (head.startsWith("RIFF") && head.mid(8, 4) == "WEBP")
        return SignatureKind::Raster;
    return looksLikeSvg(head) ? SignatureKind::Svg : SignatureKind::None;
}

QImage decodeToFit(const QString &path, QSize bounds, Error *error)
{
    return decode(path, bounds, VIPS_SIZE_BOTH, error);
}

QImage decodeThumbnailToFit(const QString &path, QSize bounds, Error *error)
{
    // libvips's thumbnail path renders only the first page, at the scale the bounds need.
    return decode(path, bounds, VIPS_SIZE_BOTH, error, Accept::PicturesAndDocuments,
                  Urgency::GivesWay);
}

QImage decodeFullSize(const QString &path, int maximumSide, Error *error)
{
    return decode(path, QSize(maximumSide, maximumSide), VIPS_SIZE_DOWN, error);
}

} // namespace PictureDecoder
