#pragma once

#include "Trash.h"

// The errors of the trash layer, all of Trash::errorDomain, as sentences that name the item.
namespace TrashErrors {

Error noTrash(const QString &item, const QString &reason);
Error notFound(const QString &item);
// `action` is the sentence's start with %1 for the item, e.g. "“%1” could not be moved to the
// Trash"; the system's reason for `errorNumber` follows it.
Error system(const QString &action, const QString &item, int errorNumber);
Error otherFileSystem(const QString &item, const QString &folder);

} // namespace TrashErrors
