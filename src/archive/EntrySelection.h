#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Items chosen to take out of an archive, each with the name it is to have at the top of the
// destination (its own, or a free one to keep both). Folders come with everything below them.
// A plain value.
struct EntrySelection {
    struct Item {
        QString path;       // the item's path from the archive's top ("a/b/c"), as it is spelled
        QString targetName; // one item name in the destination
    };

    QList<Item> items;

    QStringList paths() const
    {
        QStringList paths;
        for (const auto &item : items)
            paths << item.path;
        return paths;
    }
};
