#pragma once

#include <QString>
#include <optional>

// A place in the home folder has two forms: its listing path ("/A/B"; "/" or "" for the home
// folder itself), by which screens are stacked, titled and found, and its path on disk below
// Utils::documentsPath(). Every change from one form to the other goes through here.
//
// Thread-safety: pure functions.
namespace HomePaths {

// Where the place at `listingPath` lies on disk.
QString diskPath(const QString &listingPath);
// The item `name` of the folder at `listingPath`, on disk.
QString diskPath(const QString &listingPath, const QString &name);
// The listing path of the item `name` of the folder at `listingPath`.
QString appending(const QString &listingPath, const QString &name);
// The listing path of `diskPath` (absolute and clean): "" for the home folder itself, "/A/b"
// inside it; nothing for a place outside it.
std::optional<QString> listingPath(const QString &diskPath);

} // namespace HomePaths
