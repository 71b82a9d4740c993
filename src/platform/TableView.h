#pragma once

#include "IndexPath.h"
#include "TableRowsModel.h"
#include "TableViewCell.h"
#include "TableViewProtocols.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSizeF>
#include <QStringList>
#include <QtQml/qqmlregistration.h>
#include <vector>

// A scrolling list of rows in sections with an optional index strip at its right edge and a
// header view above the first row. The table keeps the geometry (size, row height, insets,
// content offset and size), the selection and a pool of reusable cells; its data source gives
// the rows, its delegate hears about taps and scrolling. `rows` is the list model QML draws.
//
// Geometry is in points with y growing downwards; the content offset is the content's y at the
// top edge of the visible area, -insetTop when scrolled to the very top.
//
// Thread-safety: main thread only.
class TableView : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Tables are made by their screens")
    Q_PROPERTY(TableRowsModel *rows READ rows CONSTANT)
    Q_PROPERTY(double rowHeight READ rowHeight CONSTANT)
    Q_PROPERTY(double contentInsetTop READ contentInsetTop CONSTANT)
    Q_PROPERTY(double contentInsetBottom READ contentInsetBottom CONSTANT)
    Q_PROPERTY(double contentOffsetY READ contentOffsetY NOTIFY contentOffsetChanged)
    Q_PROPERTY(double contentHeight READ contentHeight NOTIFY contentHeightChanged)
    Q_PROPERTY(double headerViewHeight READ headerViewHeight NOTIFY contentHeightChanged)
    Q_PROPERTY(double sectionHeaderHeight READ sectionHeaderHeight CONSTANT)
    Q_PROPERTY(QStringList sectionIndexTitles READ sectionIndexTitles NOTIFY reloaded)
    Q_PROPERTY(bool editing READ isEditing NOTIFY editingChanged)

public:
    explicit TableView(QObject *parent = nullptr);

    void setDataSource(TableViewDataSource *dataSource) { m_dataSource = dataSource; }
    TableViewDataSource *dataSource() const { return m_dataSource; }
    void setDelegate(TableViewDelegate *delegate) { m_delegate = delegate; }

    TableRowsModel *rows() { return &m_rows; }

    QSizeF size() const { return m_size; }
    Q_INVOKABLE void setSize(QSizeF size);
    double rowHeight() const { return m_rowHeight; }
    void setRowHeight(double height) { m_rowHeight = height; }
    double contentInsetTop() const { return m_insetTop; }
    double contentInsetBottom() const { return m_insetBottom; }
    void setContentInsets(double top, double bottom);
    double headerViewHeight() const { return m_headerViewHeight; }
    // Height of a titled section's header line, as laid out and as drawn.
    static constexpr double sectionHeaderHeight() { return 28; }
    void setHeaderViewHeight(double height);
    // Width of the section index strip when one shows (QML reports the drawn one).
    double sectionIndexWidth() const { return m_sectionIndexTitles.isEmpty() ? 0 : m_indexWidth; }
    Q_INVOKABLE void setSectionIndexWidth(double width) { m_indexWidth = width; }

    double contentOffsetY() const { return m_offsetY; }
    // Scrolls there (QML follows, even when the table already thought it was there: the view
    // may have moved on its own, by keys or an index jump); the delegate hears of it like of a
    // scroll by the user.
    void setContentOffsetY(double y);
    double contentHeight() const { return m_contentHeight; }
    // The height of all rows, headers and the header view, which subclasses may raise.
    virtual void setContentHeight(double height);

    QStringList sectionIndexTitles() const { return m_sectionIndexTitles; }

    bool isEditing() const { return m_editing; }
    void setEditing(bool editing);
    bool allowsMultipleSelectionDuringEditing() const { return m_multipleDuringEditing; }
    void setAllowsMultipleSelectionDuringEditing(bool allows) { m_multipleDuringEditing = allows; }

    // Asks the data source again for everything; the selection is cleared.
    void reloadData();
    int reloadCount() const { return m_reloadCount; }
    int numberOfSections() const;
    int numberOfRows(int section) const;

    TableViewCell *dequeueReusableCell(const QString &identifier);

    // The selection. A change of many rows at once (all, none, leaving editing) is one change
    // of the rows model over their range, so QML redraws only the rows it shows.
    bool isRowSelected(IndexPath path) const;
    QList<IndexPath> indexPathsForSelectedRows() const; // in order
    int numberOfSelectedRows() const { return m_selectedCount; }
    void selectRow(IndexPath path);
    void deselectRow(IndexPath path);
    // These rows (in order), or every row, while editing with multiple selection (else nothing
    // changes).
    void selectRows(const QList<IndexPath> &paths);
    void selectAllRows();
    void deselectAllRows();

    // What QML calls: a row comes into sight (its configured cell) or goes (back to the pool);
    // taps, the detail button, the user's scrolling, the index strip.
    Q_INVOKABLE TableViewCell *cellForFlatRow(int flatRow);
    Q_INVOKABLE void releaseCell(TableViewCell *cell);
    Q_INVOKABLE void tapFlatRow(int flatRow);
    Q_INVOKABLE void tapAccessoryOfFlatRow(int flatRow);
    Q_INVOKABLE void userScrolled(double contentOffsetY);
    // The view moved by itself (keys, an index jump, its content shrinking): the table only
    // records where it is, so a later reload doesn't take it back.
    Q_INVOKABLE void viewScrolled(double contentOffsetY) { m_offsetY = contentOffsetY; }
    Q_INVOKABLE void tapSectionIndex(int index);
    Q_INVOKABLE int flatRowOf(int section, int row) const;

signals:
    void reloaded();
    void contentOffsetChanged();
    void contentHeightChanged();
    void editingChanged();
    // QML scrolls so the flat row is at the top.
    void scrollToFlatRowRequested(int flatRow);

private:
    void updateContentHeight();
    bool isFlatRowSelected(int flatRow) const;

    TableViewDataSource *m_dataSource = nullptr;
    TableViewDelegate *m_delegate = nullptr;
    TableRowsModel m_rows;
    QSizeF m_size;
    double m_rowHeight = 44;
    double m_insetTop = 0;
    double m_insetBottom = 0;
    double m_headerViewHeight = 0;
    double m_indexWidth = 15;
    double m_offsetY = 0;
    double m_contentHeight = 0;
    QStringList m_sectionIndexTitles;
    bool m_editing = false;
    bool m_multipleDuringEditing = false;
    std::vector<bool> m_selected; // by flat row
    int m_selectedCount = 0;
    QHash<QString, QList<TableViewCell *>> m_pool;
    int m_reloadCount = 0;
};
