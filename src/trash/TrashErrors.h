#pragma once

#include "Trash.h"

// The errors of the trash layer, all of Trash::errorDomain, as sentences that name the item.
namespace TrashErrors {

Error noTrash(const QString &item, const QString &reason);
Error notFound(const QString &item);
// `sentence` (translated) with %1 for the item and %2 for the system's reason for
// `errorNumber`, e.g. "“%1” could not be moved to the Trash: %2."
Error system(const QString &sentence, const QString &item, int errorNumber);
Error notMoved(const QString &item, int errorNumber);   // "could not be moved to the Trash"
Error notPutBack(const QString &item, int errorNumber); // "could not be put back"
Error otherFileSystem(const QString &item, const QString &folder);

} // namespace TrashErrors
