#include "FileExtensionImage.h"

#include "ScreenScale.h"
#include "UtilsColors.h"

#include <QFontDatabase>
#include <QPainter>
#include <QTextLayout>

namespace {

// The badge measures its font in logical pixels: 72 DPI on the image, scaled by its ratio.
constexpr int dotsPerMeterAt72Dpi = 2835;

// Lays the text out in lines of `width`, breaking long words anywhere; returns the block height.
double layOut(QTextLayout &layout, double width)
{
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    double height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}

} // namespace

FileExtensionImage::FileExtensionImage(QRectF frame, QString fullName)
    : m_frame(frame), m_fullName(std::move(fullName)),
      m_backgroundColor(Utils::colorWithHexString(QStringLiteral("#fdb76b")))
{
}

QString FileExtensionImage::initials() const
{
    return m_fullName.toUpper();
}

QFont FileExtensionImage::effectiveFont() const
{
    if (m_initialsFont)
        return *m_initialsFont;
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(m_frame.height() * 0.25);
    return font;
}

QImage FileExtensionImage::imageRepresentation() const
{
    const double scale = screenScale();
    QImage image((m_frame.size() * scale).toSize(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(scale);
    image.setDotsPerMeterX(dotsPerMeterAt72Dpi);
    image.setDotsPerMeterY(dotsPerMeterAt72Dpi);
    image.fill(Qt::black); // only shows where a frame with an offset origin leaves the image

    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(m_frame, m_backgroundColor);
    QTextLayout layout(initials(), effectiveFont(), &image);
    const double textHeight = layOut(layout, m_frame.width());
    painter.setClipRect(m_frame);
    painter.setPen(m_initialsColor);
    layout.draw(&painter,
                QPointF(m_frame.x(), m_frame.y() + (m_frame.height() - textHeight) * 0.5));
    return image;
}
