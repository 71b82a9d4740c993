#pragma once

#include <QByteArray>
#include <QDateTime>
#include <optional>

// The info file of one trashed item, as text: written before the item moves, read to list and
// restore it. Pure rules, no file system.
//
// Thread-safety: no state; safe on any thread.
namespace TrashInfo {

struct Contents {
    QByteArray path;        // as the file system spells it (percent-decoded), absolute or relative
    QDateTime deletionDate; // local time; invalid when the file has none or an unreadable one
};

// "[Trash Info]", Path (bytes other than letters, digits, "-._~" and "/" as %XX) and the
// deletion date to the second, in local time (YYYY-MM-DDThh:mm:ss).
QByteArray format(const QByteArray &path, const QDateTime &deletionDate);
// The same with the date already written by dateValue(), for many items of one moment.
QByteArray format(const QByteArray &path, const QByteArray &deletionDate);
// The DeletionDate value of `date`: local time, to the second.
QByteArray dateValue(const QDateTime &date);

// The keys of the "[Trash Info]" group (other groups and unknown keys are skipped, lines may end
// in CR LF). Nothing when the group or its Path is missing, or Path decodes to nothing or holds
// a NUL: such a file describes no item.
std::optional<Contents> parse(const QByteArray &text);

} // namespace TrashInfo
