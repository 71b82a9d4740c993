#pragma once

#include "IndexPath.h"

#include <QString>
#include <QStringList>

class TableView;
class TableViewCell;

// What a TableView asks of the object that fills it. Called on the main thread only, and only
// between reloads for the numbers last answered.
class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;
    virtual int numberOfSections(TableView *tableView) const = 0;
    virtual int numberOfRows(TableView *tableView, int section) const = 0;
    // A cell configured for the row: dequeued from the table's pool, or made and parented to
    // the table.
    virtual TableViewCell *cellForRow(TableView *tableView, IndexPath indexPath) = 0;
    virtual QString titleForHeader(TableView *tableView, int section) const = 0;
    virtual QStringList sectionIndexTitles(TableView *tableView) const = 0;
    // The section to jump to for the index entry at `index`; below 0 for none.
    virtual int sectionForSectionIndexTitle(TableView *tableView, const QString &title,
                                            int index) = 0;
};

// What a TableView tells about the user's doings. Every method has a default that does nothing.
class TableViewDelegate {
public:
    virtual ~TableViewDelegate() = default;
    virtual void didSelectRow(TableView *tableView, IndexPath indexPath);
    virtual void didDeselectRow(TableView *tableView, IndexPath indexPath);
    virtual void accessoryButtonTapped(TableView *tableView, IndexPath indexPath);
    virtual void didScroll(TableView *tableView);
};
