#pragma once

#include "ArchiveEntry.h"

#include <Error.h>
#include <QByteArray>
#include <QString>

// Reading what lsar and unar print. Pure functions over recorded text, tested on real output.
namespace UnarOutput {

// lsar's error number for a missing or wrong password.
constexpr int lsarPasswordError = 15;

struct LsarResult {
    ArchiveListing listing;
    QString formatName;  // "RAR", "RAR 5", "Zip", ...
    int lsarError = 0;   // lsar's own error number, 0 when none
    bool parsed = false; // the JSON could be read at all
    // RAR 2.9/4.x AES (entries of compression version 29 and up, or encrypted headers),
    // which unar 1.10 can't decrypt even with the right password.
    bool unsupportedEncryption = false;
};

// `lsar -j`: the entries, their encryption flags and link targets where the format keeps
// them in the header (RAR5, tar); RAR4 link targets come only with the data.
LsarResult parseListing(const QByteArray &json);

// The entry a line of unar's output names ("  docs/a.txt  (12 B)... OK."), or empty.
QString entryOfLine(const QString &line);

// The error a failed unar or lsar run stands for. unar words a full disk (and a file-size
// limit) only as "Failed to write to file"; in the private staging folder nothing else
// makes a write fail, so that is reported as a full disk. An encrypted entry of `listing`
// that failed with a password given stands for a wrong password.
Error failureFrom(const QString &text, bool passwordGiven, const ArchiveListing &listing = {});

} // namespace UnarOutput
