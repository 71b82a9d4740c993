#pragma once

#include <QString>
#include <optional>

// The picture files that could not be decoded, each remembered by its path, size and
// modification time for the life of the process: such a file is not decoded again (nor its
// failure logged again) on every visit of its folder, yet is tried anew once it changes.
//
// Thread-safety: any thread.
namespace UndecodablePictures {

// What tells one version of a file from another.
struct FileVersion {
    QString path;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    bool operator==(const FileVersion &) const = default;
};

// The file's version now; none when it cannot be looked at (missing, unreadable folder).
std::optional<FileVersion> versionOf(const QString &path);

bool contains(const FileVersion &version);
void remember(const FileVersion &version);

} // namespace UndecodablePictures
