#include "TableView.h"

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
    const auto selected = m_selected;
    m_selected.clear();
    for (const auto &path : selected)
        m_rows.selectionChanged(path);
    emit editingChanged();
}

void TableView::reloadData()
{
    m_selected.clear();
    m_sectionIndexTitles = m_dataSource ? m_dataSource->sectionIndexTitles(this) : QStringList();
    if (m_dataSource)
        m_rows.reload();
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

QList<IndexPath> TableView::indexPathsForSelectedRows() const
{
    QList<IndexPath> paths(m_selected.cbegin(), m_selected.cend());
    std::sort(paths.begin(), paths.end());
    return paths;
}

void TableView::selectRow(IndexPath path)
{
    if (m_rows.flatRowOf(path) < 0 || m_selected.contains(path))
        return;
    if (!(m_editing && m_multipleDuringEditing)) {
        const auto others = m_selected;
        m_selected.clear();
        for (const auto &other : others)
            m_rows.selectionChanged(other);
    }
    m_selected.insert(path);
    m_rows.selectionChanged(path);
}

void TableView::deselectRow(IndexPath path)
{
    if (m_selected.remove(path))
        m_rows.selectionChanged(path);
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
    if (m_editing && m_selected.contains(path)) {
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
