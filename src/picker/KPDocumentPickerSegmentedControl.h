#pragma once

#include "KPDocumentPickerSortType.h"

#include <QImage>
#include <QList>
#include <QStringList>
#include <QObject>
#include <QPointF>
#include <QtQml/qqmlregistration.h>
#include <functional>

class QPainter;

// The three-segment sort control ("Name", "Size", "Date"). Choosing a segment sorts by it
// ascending; tapping the selected segment again turns the direction. The segment images show
// the title alone or with an arrow for the current direction.
//
// Thread-safety: main thread only (the shared images are built once, under a guard).
class KPDocumentPickerSegmentedControl : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the picker's header")
    Q_PROPERTY(int selectedSegmentIndex READ selectedSegmentIndex NOTIFY changed)
    Q_PROPERTY(QList<QImage> segmentImages READ segmentImages NOTIFY changed)
    Q_PROPERTY(int sortingType READ sortingTypeValue NOTIFY changed)
    Q_PROPERTY(QStringList segmentTitles READ segmentTitles CONSTANT)
    Q_PROPERTY(bool ascending READ isAscending NOTIFY changed)

public:
    enum Segment { NameSegment = 0, SizeSegment = 1, DateSegment = 2 };
    enum SegmentImage { PlainImage = 0, DescendingImage = 1, AscendingImage = 2 };

    explicit KPDocumentPickerSegmentedControl(QObject *parent = nullptr);

    KPDocumentPickerSortType sortingType() const { return m_sortingType; }
    int sortingTypeValue() const { return int(m_sortingType); }
    // Sets the order without touching the images; call updateItemsForCurrentSortType after.
    void setSortingType(KPDocumentPickerSortType type) { m_sortingType = type; }
    void setSortTypeChangedHandler(std::function<void()> handler)
    {
        m_sortTypeChangedHandler = std::move(handler);
    }

    int selectedSegmentIndex() const { return m_selectedSegment; }
    void setSelectedSegmentIndex(int segment);
    QList<QImage> segmentImages() const { return m_images; }
    // The words the images show, per segment, for assistive tools.
    static QStringList segmentTitles();
    bool isAscending() const { return m_sortingType % 2 == 0; }

    void updateItemsForCurrentSortType();
    // Put on screen: the first segment is selected and the images follow the order.
    void didMoveToSuperview();

    // The user touched `segment` (a tap or a click; the same segment again turns the order).
    Q_INVOKABLE void tapSegment(int segment);

    // Per segment (Name, Size, Date): plain, descending, ascending; built once per process.
    static const QList<QList<QImage>> &segmentedControlImages();
    static QList<QImage> KP_documentPickerSegmentedControlItemsForTitle(const QString &title);
    static void drawArrowAtPoint(QPainter *painter, QPointF point, bool ascending);

signals:
    void changed();

private:
    KPDocumentPickerSortType m_sortingType = KPDocumentPickerSortTypeNameAscending;
    int m_selectedSegment = -1;
    QList<QImage> m_images;
    std::function<void()> m_sortTypeChangedHandler;
};
