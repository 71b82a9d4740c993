#pragma once

#include <QString>

class TableViewCell;

// The picture of a file's row wherever files are listed: the badge of its extension at once,
// replaced by a thumbnail when the file is of a picture kind, a PDF document (its first page) or
// a comic book (its cover).
//
// Thread-safety: main thread only.
namespace FileRowPicture {

// `fileName` decides the kind and the badge; `path` is the file on disk.
void show(TableViewCell *cell, const QString &fileName, const QString &path);
// The badge alone, for a file that is not on disk (an archive's entry).
void showBadge(TableViewCell *cell, const QString &fileName);

} // namespace FileRowPicture
