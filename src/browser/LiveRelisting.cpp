#include "LiveRelisting.h"

#include "FolderWatch.h"
#include "KPDocumentPickerViewController.h"

#include <utility>

LiveRelisting::LiveRelisting(KPDocumentPickerViewController *screen)
    : QObject(screen), m_screen(screen), m_watch(new FolderWatch(this))
{
    connect(m_watch, &FolderWatch::changed, this, &LiveRelisting::folderChanged);
    connect(screen, &KPDocumentPickerViewController::listingShown, this,
            &LiveRelisting::listingShown);
}

void LiveRelisting::follow(const QString &folderPath)
{
    m_watch->watch(folderPath);
}

void LiveRelisting::folderChanged()
{
    // One listing at a time, until it is shown: each reload of the table drops the selection.
    if (m_screen->hasListingInFlight() || m_listingUnshown) {
        m_changedWhileListing = true;
        return;
    }
    if (m_keptSelection.isEmpty())
        for (const auto &item : m_screen->selectedItems())
            m_keptSelection.append(item->fileName);
    ++m_relistCount;
    m_listingUnshown = true;
    m_screen->reloadItemsFromDataSource();
}

void LiveRelisting::listingShown()
{
    m_listingUnshown = false;
    const QStringList kept = std::exchange(m_keptSelection, {});
    if (std::exchange(m_changedWhileListing, false)) {
        m_keptSelection = kept;
        folderChanged();
    }
    if (!m_screen->isEditing() || kept.isEmpty())
        return;
    auto *manager = m_screen->itemManager();
    auto *table = m_screen->tableView();
    for (int section = 0; section < manager->numberOfSections(); ++section)
        for (int row = 0; row < manager->numberOfRowsForSection(section); ++row)
            if (kept.contains(manager->itemForIndexPath(section, row)->fileName)) {
                table->selectRow({section, row});
                m_screen->didSelectRow(table, {section, row});
            }
}
