#include "TableView.h"

#include <algorithm>

TableView::TableView(QObject *parent) : QObject(parent), m_rows(this) {}

void TableView::setSize(QSizeF size)
{
    if (size == m_size)
        return;
    m_size = size;
    updateContentHeight();
}

void TableView::setContentInsets(double top, double bottom)
{
    m_insetTop = top;
    m_insetBottom = bottom;
    updateContentHeight();
}

void TableView::setHeaderViewHeight(double height)
{
    m_headerViewHeight = height;
    updateContentHeight();
}

void TableView::setContentOffsetY(double y)
{
    m_offsetY = y;
    emit contentOffsetChanged();
    if (m_delegate)
        m_delegate->didScroll(this);
}

void TableView::setContentHeight(double height)
{
    if (height == m_contentHeight)
        return;
    m_contentHeight = height;
    emit contentHeightChanged();
}

void TableView::setEditing(bool editing)
{
    if (editing == m_editing)
        return;
    m_editing = editing;
    // Leaving or entering editing drops the selection, as rows change their meaning.
    deselectAllRows();
    emit editingChanged();
}

void TableView::reloadData()
{
    m_selected.clear();
    m_selectedCount = 0;
    m_sectionIndexTitles = m_dataSource ? m_dataSource->sectionIndexTitles(this) : QStringList();
    if (m_dataSource)
        m_rows.reload();
    m_selected.assign(size_t(m_rows.rowCount()), false);
    ++m_reloadCount;
    updateContentHeight();
    emit reloaded();
}

int TableView::numberOfSections() const
{
    return m_dataSource ? m_dataSource->numberOfSections(const_cast<TableView *>(this)) : 0;
}

int TableView::numberOfRows(int section) const
{
    return m_dataSource ? m_dataSource->numberOfRows(const_cast<TableView *>(this), section) : 0;
}

TableViewCell *TableView::dequeueReusableCell(const QString &identifier)
{
    auto it = m_pool.find(identifier);
    return it == m_pool.end() || it->isEmpty() ? nullptr : it->takeLast();
}

bool TableView::isFlatRowSelected(int flatRow) const
{
    return flatRow >= 0 && size_t(flatRow) < m_selected.size() && m_selected[size_t(flatRow)];
}

bool TableView::isRowSelected(IndexPath path) const
{
    return isFlatRowSelected(m_rows.flatRowOf(path));
}

QList<IndexPath> TableView::indexPathsForSelectedRows() const
{
    QList<IndexPath> paths;
    paths.reserve(m_selectedCount);
    for (size_t flat = 0; flat < m_selected.size() && paths.size() < m_selectedCount; ++flat)
        if (m_selected[flat])
            paths.append(m_rows.indexPathAt(int(flat)));
    return paths;
}

void TableView::selectRow(IndexPath path)
{
    const int flat = m_rows.flatRowOf(path);
    if (flat < 0 || size_t(flat) >= m_selected.size() || m_selected[size_t(flat)])
        return;
    if (!(m_editing && m_multipleDuringEditing))
        deselectAllRows();
    m_selected[size_t(flat)] = true;
    ++m_selectedCount;
    m_rows.selectionChanged(flat, flat);
}

void TableView::deselectRow(IndexPath path)
{
    const int flat = m_rows.flatRowOf(path);
    if (!isFlatRowSelected(flat))
        return;
    m_selected[size_t(flat)] = false;
    --m_selectedCount;
    m_rows.selectionChanged(flat, flat);
}

void TableView::selectRows(const QList<IndexPath> &paths)
{
    if (!(m_editing && m_multipleDuringEditing))
        return;
    int first = -1, last = -1;
    for (const IndexPath &path : paths) {
        const int flat = m_rows.flatRowOf(path);
        if (flat < 0 || size_t(flat) >= m_selected.size() || m_selected[size_t(flat)])
            continue;
        m_selected[size_t(flat)] = true;
        ++m_selectedCount;
        first = first < 0 ? flat : std::min(first, flat);
        last = std::max(last, flat);
    }
    m_rows.selectionChanged(first, last);
}

void TableView::selectAllRows()
{
    if (!(m_editing && m_multipleDuringEditing) || m_selectedCount == int(m_selected.size()))
        return;
    std::fill(m_selected.begin(), m_selected.end(), true);
    m_selectedCount = int(m_selected.size());
    m_rows.selectionChanged(0, m_selectedCount - 1);
}

void TableView::deselectAllRows()
{
    if (m_selectedCount == 0)
        return;
    const auto first = std::find(m_selected.begin(), m_selected.end(), true);
    const auto last = std::find(m_selected.rbegin(), m_selected.rend(), true);
    std::fill(m_selected.begin(), m_selected.end(), false);
    m_selectedCount = 0;
    m_rows.selectionChanged(int(first - m_selected.begin()),
                            int(m_selected.rend() - last) - 1);
}

TableViewCell *TableView::cellForFlatRow(int flatRow)
{
    const IndexPath path = m_rows.indexPathAt(flatRow);
    if (path.section < 0 || !m_dataSource)
        return nullptr;
    TableViewCell *cell = m_dataSource->cellForRow(this, path);
    if (cell)
        cell->setIndexPath(path.section, path.row);
    return cell;
}

void TableView::releaseCell(TableViewCell *cell)
{
    if (cell && !m_pool[cell->reuseIdentifier()].contains(cell))
        m_pool[cell->reuseIdentifier()].append(cell);
}

void TableView::tapFlatRow(int flatRow)
{
    const IndexPath path = m_rows.indexPathAt(flatRow);
    if (path.section < 0)
        return;
    if (m_editing && isRowSelected(path)) {
        deselectRow(path);
        if (m_delegate)
            m_delegate->didDeselectRow(this, path);
        return;
    }
    selectRow(path);
    if (m_delegate)
        m_delegate->didSelectRow(this, path);
}

void TableView::tapAccessoryOfFlatRow(int flatRow)
{
    const IndexPath path = m_rows.indexPathAt(flatRow);
    if (path.section >= 0 && m_delegate)
        m_delegate->accessoryButtonTapped(this, path);
}

void TableView::userScrolled(double contentOffsetY)
{
    setContentOffsetY(contentOffsetY);
}

void TableView::tapSectionIndex(int index)
{
    if (!m_dataSource || index < 0 || index >= m_sectionIndexTitles.size())
        return;
    const int section =
        m_dataSource->sectionForSectionIndexTitle(this, m_sectionIndexTitles.at(index), index);
    const int flat = m_rows.firstFlatRowFrom(section);
    if (flat >= 0)
        emit scrollToFlatRowRequested(flat);
}

int TableView::flatRowOf(int section, int row) const
{
    return m_rows.flatRowOf({section, row});
}

void TableView::updateContentHeight()
{
    double height = m_headerViewHeight;
    const int sections = m_rows.rowCount() > 0 || numberOfSections() > 0 ? numberOfSections() : 0;
    for (int section = 0; section < sections; ++section) {
        const int rows = numberOfRows(section);
        if (rows > 0 && m_dataSource && !m_dataSource->titleForHeader(this, section).isEmpty())
            height += sectionHeaderHeight();
        height += rows * m_rowHeight;
    }
    setContentHeight(height);
}
