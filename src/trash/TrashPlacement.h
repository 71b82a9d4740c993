#pragma once

#include "TrashLocation.h"

#include <QByteArray>
#include <optional>

// Putting one item into an open trash, the step that moving one item and moving many share:
// the info file is made first under a free name (O_EXCL: the name is claimed by it), then the
// item is renamed to that name in files/ without replacing; a failed rename removes the info
// file again. Names are tried as themselves, then numbered ("notes 2.txt"), then at random.
//
// Thread-safety: no state.
namespace TrashPlacement {

inline constexpr char infoSuffix[] = ".trashinfo";
// Items a batch deals with between two reports of its progress (and, moving, between two
// looks at the clock for the deletion date).
inline constexpr qsizetype groupSize = 256;

// A name an item can have: not empty, ".", ".." nor holding '/' or NUL.
bool isItemName(const QByteArray &name);

// "name 2.ext": the number before the last extension.
QByteArray numbered(const QByteArray &name, int number);

// The item's name cut short enough (between characters) that a numbered name with the info
// suffix is still one file name.
QByteArray baseName(const QByteArray &name);

// How the items of the absolute `folder` are recorded in a trash serving `topdir` (empty: the
// home trash): absolute there, relative to the top directory in a disk's own trash (empty for
// the top itself), as the disk may be mounted elsewhere next time.
QByteArray recordedFolder(const QByteArray &folder, const QByteArray &topdir);
// The Path recorded for `name` in a folder recorded as `recorded`.
QByteArray recordedPath(const QByteArray &recorded, const QByteArray &name);

struct Claim {
    QByteArray name; // the item's name in files/ to be
    int attempt;     // which try of the names gave it
};

// Writes `text` as the info file of the first free name from try `firstAttempt` on. Nothing,
// with errno set, when the file system refuses (or no name is free).
std::optional<Claim> claim(int infoFd, const QByteArray &base, const QByteArray &text,
                           int firstAttempt = 0);

// Moves `name` of `folderFd` into `trash` as described above, under a name made from `base`
// from try `firstAttempt` on: its name in files/, or nothing with errno set (no info file left).
std::optional<QByteArray> place(const TrashLocation::OpenTrash &trash, int folderFd,
                                const QByteArray &name, const QByteArray &base,
                                const QByteArray &text, int firstAttempt = 0);

} // namespace TrashPlacement
