#include "ArchiveKind.h"

#include <QFileInfo>
#include <QStringList>

namespace {

struct KindRow {
    const char *extension;
    ArchiveKind kind;
};

constexpr KindRow kindTable[] = {
    {"zip", ArchiveKind::Zip},  {"cbz", ArchiveKind::Zip},     {"rar", ArchiveKind::Rar},
    {"cbr", ArchiveKind::Rar},  {"7z", ArchiveKind::SevenZip}, {"tar", ArchiveKind::Tar},
    {"gz", ArchiveKind::Tar},   {"tgz", ArchiveKind::Tar},     {"tbz", ArchiveKind::Tar},
    {"tbz2", ArchiveKind::Tar}, {"txz", ArchiveKind::Tar},     {"tzst", ArchiveKind::Tar},
    {"bz2", ArchiveKind::Tar},  {"xz", ArchiveKind::Tar},      {"zst", ArchiveKind::Tar},
    {"iso", ArchiveKind::Tar},  {"cpio", ArchiveKind::Tar},
};

} // namespace

const QStringList &ArchiveKinds::extensions()
{
    static const QStringList list = [] {
        QStringList l;
        for (const auto &row : kindTable)
            l << QLatin1String(row.extension);
        return l;
    }();
    return list;
}

ArchiveKind ArchiveKinds::kindForExtension(const QString &extension)
{
    const auto lower = extension.toLower();
    for (const auto &row : kindTable)
        if (lower == QLatin1String(row.extension))
            return row.kind;
    return ArchiveKind::None;
}

ArchiveKind ArchiveKinds::kindForPath(const QString &path)
{
    return kindForExtension(QFileInfo(path).suffix());
}

bool ArchiveKinds::isSingleFileCompression(const QString &extension)
{
    const auto lower = extension.toLower();
    return lower == QLatin1String("gz") || lower == QLatin1String("bz2") ||
           lower == QLatin1String("xz") || lower == QLatin1String("zst");
}
