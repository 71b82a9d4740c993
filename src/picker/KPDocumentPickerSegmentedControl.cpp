#include "KPDocumentPickerSegmentedControl.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <cmath>

namespace {

double screenScale()
{
    const auto *screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

// Segment and arrow for each order: 0 name up, 1 name down, 2 date up, 3 date down, 4 size up,
// 5 size down.
struct ShownOrder {
    int segment;
    int image;
};

ShownOrder shownOrder(KPDocumentPickerSortType type)
{
    using C = KPDocumentPickerSegmentedControl;
    switch (type) {
    case KPDocumentPickerSortTypeNameAscending:
        return {C::NameSegment, C::AscendingImage};
    case KPDocumentPickerSortTypeNameDescending:
        return {C::NameSegment, C::DescendingImage};
    case KPDocumentPickerSortTypeDateAscending:
        return {C::DateSegment, C::AscendingImage};
    case KPDocumentPickerSortTypeDateDescending:
        return {C::DateSegment, C::DescendingImage};
    case KPDocumentPickerSortTypeSizeAscending:
        return {C::SizeSegment, C::AscendingImage};
    case KPDocumentPickerSortTypeSizeDescending:
        return {C::SizeSegment, C::DescendingImage};
    }
    return {C::NameSegment, C::AscendingImage};
}

} // namespace

KPDocumentPickerSegmentedControl::KPDocumentPickerSegmentedControl(QObject *parent)
    : QObject(parent)
{
    for (const auto &images : segmentedControlImages())
        m_images.append(images.at(PlainImage));
}

void KPDocumentPickerSegmentedControl::setSelectedSegmentIndex(int segment)
{
    if (segment == m_selectedSegment)
        return;
    m_selectedSegment = segment;
    emit changed();
}

void KPDocumentPickerSegmentedControl::updateItemsForCurrentSortType()
{
    const auto &all = segmentedControlImages();
    for (int segment = 0; segment < all.size(); ++segment)
        m_images[segment] = all.at(segment).at(PlainImage);
    const auto shown = shownOrder(m_sortingType);
    m_images[shown.segment] = all.at(shown.segment).at(shown.image);
    emit changed();
}

void KPDocumentPickerSegmentedControl::didMoveToSuperview()
{
    setSelectedSegmentIndex(NameSegment);
    updateItemsForCurrentSortType();
}

void KPDocumentPickerSegmentedControl::tapSegment(int segment)
{
    if (segment < NameSegment || segment > DateSegment)
        return;
    const bool again = segment == m_selectedSegment;
    const auto ascending = segment == NameSegment   ? KPDocumentPickerSortTypeNameAscending
                           : segment == SizeSegment ? KPDocumentPickerSortTypeSizeAscending
                                                    : KPDocumentPickerSortTypeDateAscending;
    const auto descending = KPDocumentPickerSortType(int(ascending) + 1);
    m_sortingType = again && m_sortingType == ascending ? descending : ascending;
    m_selectedSegment = segment;
    updateItemsForCurrentSortType();
    if (m_sortTypeChangedHandler)
        m_sortTypeChangedHandler();
}

QStringList KPDocumentPickerSegmentedControl::segmentTitles()
{
    return {QCoreApplication::translate("Picker", "Name"),
            QCoreApplication::translate("Picker", "Size"),
            QCoreApplication::translate("Picker", "Date")};
}

const QList<QList<QImage>> &KPDocumentPickerSegmentedControl::segmentedControlImages()
{
    static const QList<QList<QImage>> images = [] {
        QList<QList<QImage>> made;
        for (const QString &title : segmentTitles())
            made.append(KP_documentPickerSegmentedControlItemsForTitle(title));
        return made;
    }();
    return images;
}

QList<QImage> KPDocumentPickerSegmentedControl::KP_documentPickerSegmentedControlItemsForTitle(
    const QString &title)
{
    QFont font;
    font.setPointSizeF(14);
    const QSizeF text = QFontMetricsF(font).size(Qt::TextSingleLine, title);
    const QSizeF size(text.width() + 20, text.height());
    const double scale = screenScale();
    QList<QImage> images;
    for (int kind = PlainImage; kind <= AscendingImage; ++kind) {
        QImage image((size * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::black);
        painter.setFont(font);
        painter.drawText(QRectF(QPointF(0, 0), size), Qt::AlignCenter | Qt::TextSingleLine, title);
        if (kind != PlainImage)
            drawArrowAtPoint(&painter,
                             QPointF(size.width() - 7, std::ceil((size.height() - 4) * 0.5)),
                             kind == AscendingImage);
        painter.end();
        images.append(image);
    }
    return images;
}

void KPDocumentPickerSegmentedControl::drawArrowAtPoint(QPainter *painter, QPointF point,
                                                        bool ascending)
{
    const double left = point.x(), top = point.y(), bottom = top + 4;
    QPainterPath path;
    if (ascending) {
        path.moveTo(left, bottom);
        path.lineTo(left + 7, bottom);
        path.lineTo(left + 3.5, top);
    } else {
        path.moveTo(left, top);
        path.lineTo(left + 7, top);
        path.lineTo(left + 3.5, top + 4);
    }
    path.closeSubpath();
    painter->fillPath(path, Qt::black);
}
