#pragma once

#include "Error.h"

#include <QString>
#include <optional>

// Moving an item into a folder where its name may already be taken, keeping both: the item
// gets the next free name there (FreeItemName: "report 2.pdf"), and whatever stands under
// the taken name is never replaced or touched.
//
// Thread-safety: keeps no state; safe on any thread.
namespace KeepBothMove {

// Moves `source` into `folder` as `name`, or as the next free name when `name` is taken there.
// The move itself never replaces (FileOperations without overwriting), so a name taken between
// the choice and the move only makes it try the next one. Returns the item's new path, or
// nothing with the reason in `error` (may be null), the source then left where it was.
std::optional<QString> moveInto(const QString &source, const QString &folder, const QString &name,
                                Error *error);

} // namespace KeepBothMove
