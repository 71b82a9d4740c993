#pragma once

#include <QString>

// Markdown to the HTML the preview shows, safe to hand to a text item: raw HTML in the Markdown
// is left out, and every picture reference is either an absolute file URL inside `folder`
// (the Markdown file's own folder, links resolved) or the broken-picture sign
// (`brokenPictureUrl`), so showing the result never fetches anything from the network or from
// elsewhere on the disk.
//
// Thread-safety: any thread (a QTextDocument of its own per call).
namespace MarkdownRendering {

inline const QString brokenPictureUrl = QStringLiteral("qrc:/images/broken_picture.svg");

QString toLocalHtml(const QString &markdown, const QString &folder);

// The file URL a picture reference stands for when it lies inside `folder`; empty otherwise
// (a remote URL, an absolute path elsewhere, a way out through ".." or a link, a missing file).
QString localPictureUrl(const QString &reference, const QString &folder);

} // namespace MarkdownRendering
