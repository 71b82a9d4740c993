#pragma once

#include "Error.h"

#include <QCoreApplication>
#include <QString>
#include <optional>

// A file handed over by another application, on its way from the Documents directory's Inbox
// (where the hand-over put it) to the top of the home folder. The listing screen's
// `handleFileFromURL`, defined beside these, does the rest: an archive is unpacked, anything
// else makes the home folder's screen list again.
//
// Thread-safety: keeps no state; safe on any thread.
class IncomingFile {
    Q_DECLARE_TR_FUNCTIONS(IncomingFile)

public:
    IncomingFile() = delete;

    // The Inbox folder inside the Documents directory, as FileOperations resolves it.
    static inline const QString inboxFolder = QStringLiteral("Inbox");

    // Moves "Inbox/`name`" to the top of the home folder without replacing anything: where the
    // name is taken the file gets the next free one ("report 2.pdf"). Returns the file's new
    // path, or nothing with the reason in `error`, the file then still in the Inbox. A name
    // that is no single item name ("", ".", "..", one holding "/") is refused before anything
    // is looked at, so no path leads outside the Inbox.
    static std::optional<QString> moveIntoHome(const QString &name, Error *error);

    // The notice shown when `name` could not be brought in.
    static QString failureNotice(const QString &name, const Error &error);
};
