#pragma once

#include <QString>
#include <Trash.h>
#include <optional>

// What an extraction did to the destination besides adding the archive's items, for the notice
// after it ("3 items were replaced; they are in the Trash."). A plain value.
struct ExtractionResult {
    // Items of the destination that the archive's items replaced (files and links: folders on
    // both sides are merged, never replaced).
    int replacedCount = 0;
    // Where the replaced items are now: one folder named "Replaced by <archive name>" holding
    // them under their paths relative to the destination. In the trash, recorded as coming
    // from the destination, so a restore puts that folder there ...
    std::optional<TrashEntry> replacedInTrash;
    // ... or, when the destination's disk has no usable trash, the path of that folder in the
    // destination itself. Empty when nothing was replaced or ReplacedItems::Delete was asked.
    QString replacedFolder;
};

// What becomes of the items an extraction replaces.
enum class ReplacedItems {
    ToTrash, // kept: in the trash, or in the destination when its disk has none
    Delete,  // removed once the extraction is complete (scripts: ombrisk-archive --no-trash)
};
