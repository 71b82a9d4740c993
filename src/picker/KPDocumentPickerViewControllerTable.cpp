// The picker's table: its data source and delegate, the search's scrolling and count, and the
// label that says a folder is empty or a search found nothing.
#include "KPDocumentPickerViewController.h"

#include "Announcer.h"

// ----------------------------------------------------------------------------- feedback label

void KPDocumentPickerViewController::hideFeedbackLabel()
{
    if (m_feedbackLabel)
        m_feedbackLabel->setHidden(true);
    if (m_feedbackHintLabel)
        m_feedbackHintLabel->setHidden(true);
}

bool KPDocumentPickerViewController::visibleListIsEmpty(const KPDocumentPickerItems &items) const
{
    if (!m_itemManager.searchString().isEmpty())
        return m_itemManager.numberOfRowsForSection(0) == 0;
    return items.isEmpty();
}

void KPDocumentPickerViewController::showFeedbackLabelIfNeeded()
{
    updateFeedbackLabel(items());
}

void KPDocumentPickerViewController::updateFeedbackLabel(const KPDocumentPickerItems &items)
{
    hideFeedbackLabel();
    if (!visibleListIsEmpty(items))
        return;
    if (!m_feedbackLabel) {
        m_feedbackLabel = new Label(16, QColor::fromRgbF(0.8, 0.8, 0.8), this);
        emit feedbackLabelChanged();
    }
    m_feedbackLabel->setText(m_headerView.searchText().isEmpty() ? tr("Folder is Empty")
                                                                 : tr("No Results Found"));
    m_feedbackLabel->sizeToFit();
    const QSizeF size = m_feedbackLabel->size();
    m_feedbackLabel->setOrigin(
        {(m_tableView->size().width() - size.width()) / 2, secondRowSlotTop(size.height())});
    m_feedbackLabel->setHidden(false);
    if (m_headerView.searchText().isEmpty() && !m_emptyFolderHint.isEmpty())
        showFeedbackHint(m_feedbackLabel->origin().y() + size.height() + 8);
}

void KPDocumentPickerViewController::showFeedbackHint(double top)
{
    if (!m_feedbackHintLabel) {
        // Darker than the line above: it is read, not glanced at.
        m_feedbackHintLabel = new Label(14, QColor::fromRgbF(0.43, 0.43, 0.45), this);
        emit feedbackLabelChanged();
    }
    m_feedbackHintLabel->setText(m_emptyFolderHint);
    m_feedbackHintLabel->setOrigin({0, top}); // the page centres and wraps it
    m_feedbackHintLabel->setHidden(false);
}

// ----------------------------------------------------------------------------- the table

int KPDocumentPickerViewController::numberOfSections(TableView *) const
{
    return m_itemManager.numberOfSections();
}

int KPDocumentPickerViewController::numberOfRows(TableView *, int section) const
{
    return m_itemManager.numberOfRowsForSection(section);
}

QString KPDocumentPickerViewController::titleForHeader(TableView *, int section) const
{
    return m_itemManager.titleForHeaderInSection(section);
}

QStringList KPDocumentPickerViewController::sectionIndexTitles(TableView *) const
{
    return m_itemManager.sectionIndexTitles();
}

TableViewCell *KPDocumentPickerViewController::cellForRow(TableView *tableView, IndexPath indexPath)
{
    static const QString identifier = QStringLiteral("TableCell");
    auto *cell =
        qobject_cast<KPDocumentPickerTableViewCell *>(tableView->dequeueReusableCell(identifier));
    if (!cell) {
        const auto factory = m_configuration->tableViewCellClass();
        cell = factory ? factory(identifier, tableView)
                       : new KPDocumentPickerTableViewCell(identifier, tableView);
        cell->setDetailTextColor(QColor::fromRgbF(0.6, 0.6, 0.6));
    }
    // A cell whose row went out of sight takes its menu down with it.
    if (cell->hasFocus())
        menuController()->hideMenu();
    const auto item = m_itemManager.itemForIndexPath(indexPath.section, indexPath.row);
    if (!item)
        return cell;
    cell->setText(item->fileName);
    cell->setDetailText(item->localizedMetadata());
    cell->setAccessory(item->isFolder ? TableViewCell::Accessory::DisclosureIndicator
                                      : TableViewCell::Accessory::None);
    cell->setFont(item->isFolder ? cellFolderFont : cellFileFont);
    cell->imageView()->setRequestedImageKey({});
    cell->imageView()->setImage(item->isFolder ? m_configuration->folderIcon()
                                               : m_configuration->defaultIcon());
    cell->imageView()->setFrameSize({37, 37});
    if (auto *source = dataSource())
        source->configureCell(this, cell, item);
    return cell;
}

int KPDocumentPickerViewController::sectionForSectionIndexTitle(TableView *, const QString &title,
                                                                int index)
{
    if (title == QLatin1String("{search}")) {
        m_tableView->setContentOffsetY(-m_tableView->contentInsetTop());
        return -1;
    }
    return m_itemManager.sectionForSectionIndexAtIndex(index);
}

void KPDocumentPickerViewController::didSelectRow(TableView *, IndexPath indexPath)
{
    if (isEditing()) {
        updateSelectAllButton();
        updateToolbarItems();
        return;
    }
    m_tableView->deselectRow(indexPath);
    const auto item = m_itemManager.itemForIndexPath(indexPath.section, indexPath.row);
    if (!item)
        return;
    if (item->isFolder) {
        openFolder(item);
        return;
    }
    if (auto *delegate = documentPickerDelegate())
        delegate->didSelectItems(this, {item}, m_filePath);
}

void KPDocumentPickerViewController::didDeselectRow(TableView *, IndexPath)
{
    if (!isEditing())
        return;
    updateSelectAllButton();
    updateToolbarItems();
}

void KPDocumentPickerViewController::scrollToTopForSearch()
{
    m_scrollingForSearch = true;
    m_tableView->setContentOffsetY(-m_tableView->contentInsetTop());
    m_scrollingForSearch = false;
}

void KPDocumentPickerViewController::announceSearchCount()
{
    constexpr double typingPause = 0.5;
    const quint64 announcement = ++m_searchAnnouncement;
    DispatchQueue::mainAfter(typingPause, this, [weakSelf = QPointer(this), announcement] {
        if (!weakSelf || announcement != weakSelf->m_searchAnnouncement ||
            weakSelf->m_headerView.searchText().isEmpty())
            return;
        const int found = weakSelf->m_itemManager.numberOfRowsForSection(0);
        Announcer::announce(tr("%n item(s) found.", nullptr, found));
    });
}

void KPDocumentPickerViewController::didScroll(TableView *tableView)
{
    if (!m_scrollingForSearch)
        m_headerView.dismissKeyboard();
    m_headerView.setClippingHeight(tableView->contentInsetTop() + tableView->contentOffsetY());
}
