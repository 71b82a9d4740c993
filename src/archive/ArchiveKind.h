#pragma once

#include <QString>

// The route an archive takes, decided by the lower-cased last extension of its name alone.
// "zip", "cbz" → Zip; "rar", "cbr" → Rar; "7z" → SevenZip; "tar", "gz" and the compressed-tar,
// single-compressed-file, "iso" and "cpio" kinds → Tar (read in-process by libarchive).
enum class ArchiveKind { None, Zip, Rar, SevenZip, Tar };

namespace ArchiveKinds {

// The extensions in the order they are tried: the seven first, then the further ones.
const QStringList &extensions();

ArchiveKind kindForExtension(const QString &extension);
ArchiveKind kindForPath(const QString &path);

// The extensions that stand for one compressed file rather than an archive of many
// ("gz" is both: a tar inside is unpacked as a tar, anything else as one file).
bool isSingleFileCompression(const QString &extension);

} // namespace ArchiveKinds
