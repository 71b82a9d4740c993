#include "TableRowsModel.h"

#include "TableView.h"

TableRowsModel::TableRowsModel(TableView *table) : QAbstractListModel(table), m_table(table) {}

int TableRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_paths.size());
}

QVariant TableRowsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const IndexPath path = m_paths[size_t(index.row())];
    switch (role) {
    case SectionRole:
        return path.section;
    case RowRole:
        return path.row;
    case SectionTitleRole:
    case Qt::DisplayRole:
        return m_sectionTitles.value(path.section);
    case SelectedRole:
        return m_table->isRowSelected(path);
    default:
        return {};
    }
}

QHash<int, QByteArray> TableRowsModel::roleNames() const
{
    return {{SectionRole, "section"},
            {RowRole, "row"},
            {SectionTitleRole, "sectionTitle"},
            {SelectedRole, "selected"}};
}

void TableRowsModel::reload()
{
    beginResetModel();
    m_paths.clear();
    m_sectionStarts.clear();
    m_sectionTitles.clear();
    const int sections = m_table->numberOfSections();
    for (int section = 0; section < sections; ++section) {
        m_sectionStarts.push_back(int(m_paths.size()));
        m_sectionTitles.append(m_table->dataSource()->titleForHeader(m_table, section));
        const int rows = m_table->numberOfRows(section);
        for (int row = 0; row < rows; ++row)
            m_paths.push_back({section, row});
    }
    endResetModel();
}

IndexPath TableRowsModel::indexPathAt(int flatRow) const
{
    return flatRow >= 0 && size_t(flatRow) < m_paths.size() ? m_paths[size_t(flatRow)]
                                                            : IndexPath{-1, -1};
}

int TableRowsModel::flatRowOf(IndexPath path) const
{
    if (path.section < 0 || size_t(path.section) >= m_sectionStarts.size() || path.row < 0)
        return -1;
    const int flat = m_sectionStarts[size_t(path.section)] + path.row;
    return size_t(flat) < m_paths.size() && m_paths[size_t(flat)] == path ? flat : -1;
}

int TableRowsModel::firstFlatRowFrom(int section) const
{
    if (section < 0 || size_t(section) >= m_sectionStarts.size())
        return -1;
    const int flat = m_sectionStarts[size_t(section)];
    return size_t(flat) < m_paths.size() ? flat : -1;
}

void TableRowsModel::selectionChanged(int first, int last)
{
    if (first >= 0 && first <= last && size_t(last) < m_paths.size())
        emit dataChanged(index(first), index(last), {SelectedRole});
}
