// The picker's editing and keyboard: the selection, the bar buttons that go with it, the
// footer's counts, and the keys the page forwards.
#include "KPDocumentPickerViewController.h"

#include "Announcer.h"
#include "ListKeys.h"
#include "NavigationController.h"

#include <algorithm>
#include <cmath>

// ----------------------------------------------------------------------------- keyboard

namespace {

QKeyEvent keyEvent(int key, int modifiers, const QString &text = {})
{
    return QKeyEvent(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
}

} // namespace

bool KPDocumentPickerViewController::screenKeyPressed(int key, int modifiers, int focusedRow)
{
    using Command = ListKeys::Command;
    const Command command = ListKeys::command(keyEvent(key, modifiers));
    switch (command) {
    case Command::None:
        return false;
    case Command::Find:
        findRequested();
        break;
    case Command::Escape:
        escapePressed();
        break;
    case Command::Reload:
        reloadItemsFromDataSource();
        break;
    case Command::SelectAll:
        selectAllRequested();
        break;
    case Command::Delete:
    case Command::DeleteForGood:
        deleteKeyPressed(command == Command::DeleteForGood);
        break;
    case Command::Rename:
        renameKeyPressed(focusedRow);
        break;
    case Command::Copy:
    case Command::Cut:
        copyKeyPressed(command == Command::Cut, focusedRow);
        break;
    case Command::Paste:
        pasteKeyPressed();
        break;
    }
    return true;
}

bool KPDocumentPickerViewController::rowKeyPressed(int key, int modifiers, const QString &text,
                                                   int focusedRow)
{
    using Kind = ListKeys::RowStep::Kind;
    const auto step = ListKeys::rowStep(
        keyEvent(key, modifiers, text), focusedRow, m_tableView->rows()->rowCount(),
        ListKeys::pageRows(viewSize().height(), m_tableView->rowHeight()));
    switch (step.kind) {
    case Kind::None:
        return false;
    case Kind::Focus:
        if (step.row >= 0)
            emit keyboardRowRequested(step.row);
        break;
    case Kind::Open:
        m_tableView->tapFlatRow(step.row);
        break;
    case Kind::ShowContents:
        contentsKeyPressed(step.row);
        break;
    case Kind::Menu:
        emit rowMenuRequested(step.row);
        break;
    case Kind::TypeAhead:
        if (const int found = flatRowForTypedText(text, focusedRow); found >= 0)
            emit keyboardRowRequested(found);
        break;
    }
    return true;
}

void KPDocumentPickerViewController::escapePressed()
{
    if (menuController()->isMenuVisible())
        menuController()->hideMenu();
    else if (!m_headerView.searchText().isEmpty())
        m_headerView.setSearchText(QString());
    else if (isEditing())
        selectButtonTapped();
    else
        escapeWithNothingOpen();
}

void KPDocumentPickerViewController::escapeWithNothingOpen()
{
    m_headerView.dismissKeyboard();
}

void KPDocumentPickerViewController::selectAllRequested()
{
    if (isEditing() && !allCellsSelected())
        selectAllButtonTapped();
}

int KPDocumentPickerViewController::flatRowForTypedText(const QString &text, int currentFlatRow)
{
    constexpr qint64 typingPauseMs = 1000;
    if (!m_typingClock.isValid() || m_typingClock.elapsed() > typingPauseMs)
        m_typedPrefix.clear();
    m_typingClock.start();
    m_typedPrefix += text;
    // A first letter looks past the current row; more letters refine the current match.
    const int start = std::max(0, m_typedPrefix.size() == text.size() ? currentFlatRow + 1
                                                                       : currentFlatRow);
    auto *rows = m_tableView->rows();
    const int count = rows->rowCount();
    for (int step = 0; step < count; ++step) {
        const int flat = (start + step) % count;
        const IndexPath path = rows->indexPathAt(flat);
        const auto item = m_itemManager.itemForIndexPath(path.section, path.row);
        if (item && item->fileName.startsWith(m_typedPrefix, Qt::CaseInsensitive))
            return flat;
    }
    return -1;
}

// ----------------------------------------------------------------------------- editing

void KPDocumentPickerViewController::selectButtonTapped()
{
    setEditing(!isEditing(), true);
    updateBarButtonsAnimated(true);
}

void KPDocumentPickerViewController::setEditing(bool editing, bool animated)
{
    if (editing != isEditing())
        Announcer::announce(editing ? tr("Edit mode: select the items to act on.")
                                    : tr("Edit mode ended."));
    ViewController::setEditing(editing, animated);
    m_tableView->setEditing(editing);
    updateSelectAllButton();
    updateViewContent();
}

void KPDocumentPickerViewController::updateBarButtonsAnimated(bool)
{
    const bool editing = isEditing();
    setRightBarButtonItems({editing ? m_cancelButton : m_selectButton});
    if (auto *stack = navigationController(); stack && stack->viewControllers().size() >= 2)
        setHidesBackButton(editing);
    setLeftBarButtonItems(editing ? QList<BarButtonItem *>{m_selectAllButton}
                                  : m_browsingLeftItems);
}

void KPDocumentPickerViewController::setBrowsingLeftBarButtonItems(
    const QList<BarButtonItem *> &items)
{
    m_browsingLeftItems = items;
    if (!isEditing())
        setLeftBarButtonItems(items);
}

void KPDocumentPickerViewController::updateViewContent()
{
    resetHeaderConstraints();
    updateToolbarItems();
    if (m_selectButton)
        m_selectButton->setEnabled(!items().isEmpty());
}

void KPDocumentPickerViewController::resetHeaderConstraints()
{
    const double indexWidth =
        m_itemManager.sectionIndexIsVisible() ? std::trunc(m_tableView->sectionIndexWidth()) : 0;
    const double target = m_tableView->size().width() - indexWidth;
    if (std::trunc(target) != std::trunc(m_headerView.width()))
        m_headerView.setWidth(target);
}

bool KPDocumentPickerViewController::allCellsSelected() const
{
    const qsizetype visible = m_itemManager.searchString().isEmpty()
                                  ? items().size()
                                  : m_itemManager.numberOfRowsForSection(0);
    return m_tableView->numberOfSelectedRows() == visible;
}

void KPDocumentPickerViewController::selectAllButtonTapped()
{
    if (!isEditing())
        return;
    if (allCellsSelected())
        m_tableView->deselectAllRows();
    else
        m_tableView->selectAllRows();
    updateSelectAllButton();
    updateToolbarItems();
}

void KPDocumentPickerViewController::updateSelectAllButton()
{
    if (!m_selectAllButton)
        return;
    const bool none = m_tableView->numberOfSelectedRows() == 0;
    m_selectAllButton->setTitle(!none && allCellsSelected() ? tr("Select None") : tr("Select All"));
}

void KPDocumentPickerViewController::updateFooterLabel()
{
    if (!toolBarLabel)
        return;
    if (isEditing()) {
        const int n = m_tableView->numberOfSelectedRows();
        toolBarLabel->setTitle(tr("%n item(s) selected", nullptr, n));
        return;
    }
    int folders = 0, files = 0;
    for (const auto &item : items())
        ++(item->isFolder ? folders : files);
    QString text;
    if (folders && files)
        //: The two counts of the footer, "1 folder, 3 files"; %1 is the folders', %2 the files'.
        text = tr("%1, %2").arg(tr("%n folder(s)", nullptr, folders),
                                tr("%n file(s)", nullptr, files));
    else if (folders)
        text = tr("%n folder(s)", nullptr, folders);
    else if (files)
        text = tr("%n file(s)", nullptr, files);
    else
        text = m_loadingView && m_loadingView->isAnimating() ? tr("Loading...")
                                                             : tr("No files or folders found");
    toolBarLabel->setTitle(text);
}

KPDocumentPickerItems KPDocumentPickerViewController::selectedItems()
{
    KPDocumentPickerItems selected;
    for (const IndexPath &path : m_tableView->indexPathsForSelectedRows()) {
        if (auto item = m_itemManager.itemForIndexPath(path.section, path.row))
            selected.append(item);
    }
    return selected;
}

void KPDocumentPickerViewController::chooseButtonTapped()
{
    if (auto *delegate = documentPickerDelegate())
        delegate->didSelectItems(this, selectedItems(), m_filePath);
}

void KPDocumentPickerViewController::showNewestFirst()
{
    setSortingType(KPDocumentPickerSortTypeDateDescending);
    auto *sortControl = m_headerView.sortControl();
    sortControl->setSortingType(KPDocumentPickerSortTypeDateDescending);
    sortControl->updateItemsForCurrentSortType();
    sortControl->setSelectedSegmentIndex(KPDocumentPickerSegmentedControl::DateSegment);
}

void KPDocumentPickerViewController::doneButtonTapped()
{
    if (auto *stack = navigationController(); stack && stack->presentingViewController())
        stack->presentingViewController()->dismiss(true);
}
