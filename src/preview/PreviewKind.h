#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// What the previewer shows a file as, decided from the file's first bytes and its name, never
// by decoding it, so it is quick enough for the main thread.
namespace PreviewKinds {
Q_NAMESPACE
QML_ELEMENT

enum class Kind {
    None,     // nothing the previewer shows: the properties sheet stays in front
    Picture,  // a raster picture or an SVG, by its signature whatever its name
    Pdf,      // "%PDF-" at the start
    Text,     // text by content (text/plain or a kind of it), HTML included, shown as source
    Markdown, // text by content whose name says Markdown: rendered, raw HTML left out
};
Q_ENUM_NS(Kind)

// The kind of the file at `path`; None for a folder, an empty or unreadable file, and for
// content that is neither a picture, a PDF nor text (audio, video, office documents, binaries).
// Any thread.
Kind kindOfFile(const QString &path);

} // namespace PreviewKinds
