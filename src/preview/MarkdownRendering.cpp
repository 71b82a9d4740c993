#include "MarkdownRendering.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

namespace MarkdownRendering {

QString localPictureUrl(const QString &reference, const QString &folder)
{
    const QUrl url(reference);
    if (!url.isValid() || !url.host().isEmpty() ||
        (!url.scheme().isEmpty() && !url.isLocalFile()))
        return {};
    const QString relative = url.isLocalFile() ? url.toLocalFile() : url.path();
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QString target =
        QFileInfo(QDir::isAbsolutePath(relative) ? relative : folder + u'/' + relative)
            .canonicalFilePath();
    if (root.isEmpty() || target.isEmpty() || !target.startsWith(root + u'/'))
        return {};
    return QUrl::fromLocalFile(target).toString();
}

QString toLocalHtml(const QString &markdown, const QString &folder)
{
    QTextDocument document;
    document.setMarkdown(markdown, QTextDocument::MarkdownFeatures(
                                       QTextDocument::MarkdownDialectGitHub |
                                       QTextDocument::MarkdownNoHTML));
    struct Picture {
        int position, length;
        QTextImageFormat format;
    };
    QList<Picture> pictures;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextImageFormat format = fragment.charFormat().toImageFormat();
            if (format.isValid())
                pictures.append({fragment.position(), fragment.length(), format});
        }
    }
    // Changed after the walk: a format change may merge the fragments being walked.
    for (Picture &picture : pictures) {
        const QString local = localPictureUrl(picture.format.name(), folder);
        picture.format.setName(local.isEmpty() ? brokenPictureUrl : local);
        QTextCursor cursor(&document);
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture.format);
    }
    return document.toHtml();
}

} // namespace MarkdownRendering
