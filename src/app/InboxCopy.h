#pragma once

#include "Error.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <optional>

// The copy a hand-over makes of another application's file into the Documents directory's
// Inbox: the original stays with whoever handed it over.
//
// Thread-safety: keeps no state; safe on any thread. Blocking: a large file is copied on a
// worker (InboxHandOver does).
class InboxCopy {
    Q_DECLARE_TR_FUNCTIONS(InboxCopy)

public:
    InboxCopy() = delete;

    enum ErrorCode {
        NotAFile = 1, // a folder, device or the like: only files are handed over
        CopyFailed,   // reading the original or writing the copy failed
    };
    static inline const QString errorDomain = QStringLiteral("Ombrisk.InboxCopy");

    // Copies the file `source` (links followed) into `inbox` (made when missing) under its own
    // name, or the next free one when two arrive with one name ("a 2.txt"). The copy is
    // written under a hidden name first and renamed into place once whole, so a copy cut short
    // never shows under the real name. Returns the copy's path, or nothing with the reason in
    // `error` (may be null) and no copy left behind.
    static std::optional<QString> copyIntoInbox(const QString &source, const QString &inbox,
                                                Error *error);

    // Whether `name` is one of the hidden names a copy on its way has: never a handed-over
    // file of its own.
    static bool isPartialCopyName(const QString &name);

    // The files waiting in `inbox`, oldest first, without partial copies; those are removed,
    // being the remains of a run that ended while copying.
    static QStringList waitingFiles(const QString &inbox);
};
