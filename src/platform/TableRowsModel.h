#pragma once

#include "IndexPath.h"

#include <QAbstractListModel>
#include <QSet>
#include <vector>

class TableView;

// The rows of a TableView as one flat list for a QML list: each entry knows its section, its
// row, its section's header title and whether it is selected. Rebuilt whole on every reload.
//
// Thread-safety: main thread only.
class TableRowsModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role { SectionRole = Qt::UserRole + 1, RowRole, SectionTitleRole, SelectedRole };

    explicit TableRowsModel(TableView *table);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Rebuilds from the table's data source.
    void reload();
    IndexPath indexPathAt(int flatRow) const;
    // The flat row of `path`, or -1.
    int flatRowOf(IndexPath path) const;
    // The first flat row of `section` or of the next section holding rows; -1 past the end.
    int firstFlatRowFrom(int section) const;
    // The selection of the flat rows from `first` to `last` may have changed: one change.
    void selectionChanged(int first, int last);

private:
    TableView *m_table;
    std::vector<IndexPath> m_paths;
    std::vector<int> m_sectionStarts; // flat row of each section's first row
    QStringList m_sectionTitles;
};
