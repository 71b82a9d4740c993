#pragma once

#include "ArchiveEntry.h"

#include <Error.h>
#include <QString>
#include <optional>

// Reading what 7zz prints. Pure functions over recorded text, tested on real output.
namespace SevenZipOutput {

// `7zz l -slt -ba`: blocks of "Key = Value" lines, one block per entry. Entries sharing a
// solid block have no packed size of their own (-1).
ArchiveListing parseTechnicalListing(const QString &text);

// One line of `-bsp1 -bb1` output: "37% 12 - docs/a.txt", " 5%", "- docs/a.txt".
struct ProgressLine {
    std::optional<int> percent;
    std::optional<int> filesDone;
    QString entry;
};
std::optional<ProgressLine> parseProgressLine(const QString &line);

// The POSIX type and mode from an "Attributes" value ("A -rw-r--r--", "D drwxr-xr-x").
void applyAttributes(QStringView attributes, ArchiveEntry *entry);

// True when 7zz stopped to ask for a password (it got end of input instead).
bool askedForPassword(const QString &text);

// The error a failed run stands for: wrong password, full disk (or a file-size limit), a
// link pointing out that 7zz refused (UnsafeEntry naming it), damaged or unreadable data. Items are named relative to `outputFolder` when given.
Error failureFrom(const QString &text, bool passwordGiven, const QString &outputFolder = {});

} // namespace SevenZipOutput
