#pragma once

#include "Error.h"

#include <QCoreApplication>
#include <QString>
#include <optional>

class LocalStorageViewController;

// A file handed over by another application, on its way from the Documents directory's Inbox
// (where the hand-over put it) to the top of the home folder, then unpacked when an archive.
//
// Thread-safety: keeps no state; `receive` on the main thread only, the rest on any thread.
class IncomingFile {
    Q_DECLARE_TR_FUNCTIONS(IncomingFile)

public:
    IncomingFile() = delete;

    // Moves "Inbox/`name`" to the top of the home folder without replacing anything: where the
    // name is taken the file gets the next free one ("report 2.pdf"). Returns the file's new
    // path, or nothing with the reason in `error`, the file then still in the Inbox. A name
    // that is no single item name ("", ".", "..", one holding "/") is refused before anything
    // is looked at, so no path leads outside the Inbox.
    static std::optional<QString> moveIntoHome(const QString &name, Error *error);

    // The notice shown when `name` could not be brought in.
    static QString failureNotice(const QString &name, const Error &error);

    static constexpr double relistDelay = 1.0;
    // The file copied into the Inbox under `path`'s last component: moved to the top of the
    // home folder, keeping both where the name is taken, then unpacked when an archive; the
    // home folder's screen `home` lists again `relistDelay` seconds later either way (an
    // archive whose password is not given stays too). A failure is said on the screen shown.
    static void receive(LocalStorageViewController *home, const QString &path);
};
