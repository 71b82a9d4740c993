#pragma once

#include <QString>

class QTextDocument;

// Markdown to the HTML the preview shows, safe to hand to a text item: raw HTML in the Markdown
// (tags, comments) is left out, neither drawn nor shown as text, except inside code, and every
// picture reference is either an absolute file URL inside `folder` (the Markdown file's own
// folder, links resolved), sized as the picture is, or the broken-picture sign
// (`brokenPictureUrl`), so showing the result never fetches anything from the network or from
// elsewhere on the disk. A tag written as an escape or entity ("\<b>", "&lt;b>") reads as text
// in the Markdown and is left out too: the document no longer tells them apart.
//
// Thread-safety: `toLocalHtml` and `localPictureUrl` on any thread (a QTextDocument of its own
// per call); `fitPictures` on the thread of the document it changes.
namespace MarkdownRendering {

inline const QString brokenPictureUrl = QStringLiteral("qrc:/images/broken_picture.svg");

QString toLocalHtml(const QString &markdown, const QString &folder);

// The file URL a picture reference stands for when it lies inside `folder`; empty otherwise
// (a remote URL, an absolute path elsewhere, a way out through ".." or a link, a missing file).
QString localPictureUrl(const QString &reference, const QString &folder);

// Scales the pictures of a document made from `toLocalHtml` down to `width` where they are
// wider, keeping their proportions; a wider width brings them back up to their own size.
void fitPictures(QTextDocument *document, double width);

} // namespace MarkdownRendering
