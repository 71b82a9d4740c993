#include "ArchiveContents.h"

#include "ArchiverManager.h"

std::shared_ptr<const ArchiveContents> ArchiveContents::load(const QString &archivePath,
                                                             const QString &password,
                                                             const QByteArray &nameEncoding,
                                                             Error *error,
                                                             ArchiveProgressDelegate *delegate)
{
    Error listError;
    auto entries = ArchiverManager::listEntriesAtPath(archivePath, password, &listError, delegate,
                                                      nameEncoding);
    if (listError.isSet()) {
        fail(error, listError);
        return nullptr;
    }
    auto tree = ArchiveTree::build(
        entries, [delegate] { return delegate && delegate->isArchiveCancelled(); });
    if (!tree) {
        fail(error, ArchiveErrors::cancelled());
        return nullptr;
    }
    auto contents = std::make_shared<ArchiveContents>();
    contents->archivePath = archivePath;
    contents->password = password;
    contents->nameEncoding = nameEncoding;
    contents->entries = std::move(entries);
    contents->tree = std::move(*tree);
    return contents;
}

std::optional<quint32> ArchiveContents::folderAt(const QString &pickerPath) const
{
    return tree.folderAt(pickerPath.split(u'/', Qt::SkipEmptyParts));
}

KPDocumentPickerItems ArchiveContents::itemsOf(quint32 folder) const
{
    KPDocumentPickerItems items;
    const auto children = tree.children(folder);
    items.reserve(qsizetype(children.size()));
    for (const auto id : children) {
        const auto &node = tree.node(id);
        auto item = std::make_shared<KPDocumentPickerItem>();
        item->fileName = tree.displayName(id);
        item->isFolder = node.isFolder;
        item->itemType = id;
        if (node.entry >= 0) {
            const auto entry = entries.at(node.entry);
            item->fileSize = node.isFolder ? 0 : quint64(std::max<qint64>(entry.size, 0));
            item->lastModifiedDate = entry.modified;
        }
        items.append(std::move(item));
    }
    return items;
}

qint64 ArchiveContents::entryOf(const KPDocumentPickerItemPtr &item) const
{
    if (!item || item->itemType <= 0 || item->itemType >= tree.size())
        return -1;
    const auto &node = tree.node(quint32(item->itemType));
    return node.isFolder ? -1 : node.entry;
}
