#pragma once

#include <QStringList>
#include <optional>

class QMimeData;

// Files on the system clipboard, in the forms other file managers on the desktop read and
// write: `text/uri-list`, `x-special/gnome-copied-files` ("copy" or "cut", then one file URL
// a line) and `application/x-kde-cutselection` ("1" after a cut), with the paths as plain
// text for text fields. Files copied in another file manager paste here, and the other way
// round.
//
// Thread-safety: main thread only (the clipboard is the GUI application's).
namespace FileClipboard {

struct Contents {
    QStringList paths; // absolute, local files only
    bool cut = false;  // the items are to move when pasted
};

// The clipboard form of `paths` (absolute): for the clipboard, and for a drag out.
QMimeData *mimeDataFor(const QStringList &paths, bool cut);
// The local files `data` carries; nothing when it carries none.
std::optional<Contents> contentsOf(const QMimeData *data);

void put(const QStringList &paths, bool cut);
// The files on the clipboard; nothing when it holds none.
std::optional<Contents> contents();
// Empties the clipboard when it still holds what a cut put there, once those items have moved.
void clearIfHolding(const QStringList &paths);

} // namespace FileClipboard
