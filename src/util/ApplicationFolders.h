#pragma once

#include "Error.h"

// Makes the home folder and the cache folder (Utils::documentsPath(), Utils::cachePath()) with
// any missing parents, and marks the cache folder with a CACHEDIR.TAG so backup tools skip it.
// Existing folders are left as they are; a missing tag is written again. Returns false with the
// first failure in `error` (may be null); the start goes on regardless.
// Call once at start, before any screen lists a folder.
namespace ApplicationFolders {

bool createAtStart(Error *error = nullptr);

} // namespace ApplicationFolders
