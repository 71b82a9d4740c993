#include "LiveRelisting.h"

#include "FolderWatch.h"
#include "KPDocumentPickerViewController.h"
#include "ProgressOverlay.h"

#include <QSet>
#include <utility>

LiveRelisting::LiveRelisting(KPDocumentPickerViewController *screen)
    : QObject(screen), m_screen(screen), m_watch(new FolderWatch(this))
{
    connect(m_watch, &FolderWatch::changed, this, &LiveRelisting::folderChanged);
    connect(screen, &KPDocumentPickerViewController::listingShown, this,
            &LiveRelisting::listingShown);
    connect(ProgressOverlay::shared(), &ProgressOverlay::changed, this,
            &LiveRelisting::overlayChanged);
}

void LiveRelisting::follow(const QString &folderPath)
{
    m_folder = folderPath;
    m_watch->watch(m_jobRunning ? QString() : m_folder);
}

void LiveRelisting::overlayChanged()
{
    // A file job changes the folder as it goes and lists it when done. Watched meanwhile, each of
    // its 100,000 renames would queue an event for the kernel to keep and the main thread to
    // read, nearly doubling its time: unwatched until it ends, then looked at once.
    const bool running = ProgressOverlay::shared()->isVisible();
    if (running == std::exchange(m_jobRunning, running))
        return;
    m_watch->watch(running ? QString() : m_folder);
    if (running)
        m_changedDuringJob = !m_folder.isEmpty();
    else if (std::exchange(m_changedDuringJob, false))
        folderChanged();
}

void LiveRelisting::folderChanged()
{
    // A listing shown while a file job runs asks again after it, never during it.
    if (m_jobRunning) {
        m_changedDuringJob = true;
        return;
    }
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
    const QSet<QString> names(kept.cbegin(), kept.cend());
    auto *manager = m_screen->itemManager();
    auto *table = m_screen->tableView();
    QList<IndexPath> found;
    for (int section = 0; section < manager->numberOfSections(); ++section)
        for (int row = 0; row < manager->numberOfRowsForSection(section); ++row)
            if (names.contains(manager->itemForIndexPath(section, row)->fileName))
                found.append({section, row});
    table->selectRows(found);
    // Heard once: what it updates (buttons, footer) looks at the whole selection.
    if (!found.isEmpty())
        m_screen->didSelectRow(table, found.last());
}
