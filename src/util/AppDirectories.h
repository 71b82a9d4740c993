#pragma once

#include <QString>

// Where the application's per-user directories lie. By default Qt's AppDataLocation (kept
// documents), CacheLocation (disposable caches), the user's trash ($XDG_DATA_HOME/Trash) and
// state folder ($XDG_STATE_HOME/ombrisk); a root set by `--root DIR` or the OMBRISK_ROOT
// variable puts them at DIR/Documents, DIR/Caches, DIR/Trash and DIR/State instead, so tests
// and portable use never touch the user's own.
//
// Thread-safety: `useRoot` must be called before any path is read (main does it first thing);
// after that the values are fixed for the process and may be read from any thread.
namespace AppDirectories {

// Picks the root from `--root DIR` in `arguments`, else from OMBRISK_ROOT; no-op when neither.
void configureFromCommandLine(const QStringList &arguments);
void useRoot(const QString &root);

// Whether neither `--root` nor OMBRISK_ROOT chose the directories.
bool isDefaultRoot();

QString documentsDirectory();
// Where files handed over from elsewhere wait to be moved into the home folder: the folder
// `inboxName` of documentsDirectory() (FileOperations resolves "Inbox/…" there).
inline const QString inboxName = QStringLiteral("Inbox");
QString inboxDirectory();
QString cachesDirectory();
// The home trash (the freedesktop trash layout): files/ and info/ inside it.
QString trashDirectory();
// What the program keeps about its own work between runs (records of live staging folders).
QString stateDirectory();

} // namespace AppDirectories
