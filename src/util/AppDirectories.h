#pragma once

#include <QString>

// Where the application's two per-user directories lie. By default Qt's AppDataLocation
// (kept documents) and CacheLocation (disposable caches); a root set by `--root DIR` or the
// OMBRISK_ROOT variable puts them at DIR/Documents and DIR/Caches instead.
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
QString cachesDirectory();

} // namespace AppDirectories
