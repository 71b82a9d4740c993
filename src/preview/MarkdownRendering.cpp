#include "MarkdownRendering.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QList>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>

namespace {

// Raw HTML as CommonMark tells it from text: open and closing tags, comments, processing
// instructions, declarations and CDATA sections.
QRegularExpression rawHtml()
{
    return QRegularExpression(
        QStringLiteral(R"(<[A-Za-z][A-Za-z0-9-]*(?:\s+[A-Za-z_:][A-Za-z0-9_.:-]*)"
                       R"((?:\s*=\s*(?:[^\s"'=<>`]+|'[^']*'|"[^"]*"))?)*\s*/?>)"
                       R"(|</[A-Za-z][A-Za-z0-9-]*\s*>|<!--.*?-->|<\?.*?\?>)"
                       R"(|<!\[CDATA\[.*?\]\]>|<![A-Za-z][^>]*>)"),
        QRegularExpression::DotMatchesEverythingOption);
}

// Code keeps every character: a tag there is what the author shows.
bool isCode(const QTextBlock &block, int position)
{
    // A code block, fenced or indented, says its language (perhaps none).
    if (block.blockFormat().hasProperty(QTextFormat::BlockCodeLanguage) ||
        block.blockFormat().hasProperty(QTextFormat::BlockCodeFence))
        return true;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().contains(position))
            return it.fragment().charFormat().fontFixedPitch();
    }
    return false;
}

// The importer, told to take no HTML, keeps raw HTML as literal text; it goes here, and so
// do the paragraphs that held nothing else.
void leaveOutRawHtml(QTextDocument &document)
{
    const QRegularExpression tag = rawHtml();
    for (QTextBlock block = document.lastBlock(); block.isValid(); block = block.previous()) {
        const QString text = block.text();
        QList<QRegularExpressionMatch> found;
        for (auto it = tag.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            if (!isCode(block, block.position() + int(match.capturedStart())))
                found.append(match);
        }
        if (found.isEmpty())
            continue;
        QTextCursor cursor(&document);
        std::for_each(found.rbegin(), found.rend(), [&](const QRegularExpressionMatch &match) {
            cursor.setPosition(block.position() + int(match.capturedStart()));
            cursor.setPosition(block.position() + int(match.capturedEnd()),
                               QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        });
        if (!block.text().trimmed().isEmpty() || !block.next().isValid())
            continue;
        cursor.setPosition(block.position());
        cursor.setPosition(block.next().position(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
}

// Every picture made a local file URL inside `folder`, at its own size (which the view scales
// down to its width), or the broken-picture sign.
void localisePictures(QTextDocument &document, const QString &folder)
{
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
        const QString local =
            MarkdownRendering::localPictureUrl(picture.format.name(), folder);
        picture.format.setName(local.isEmpty() ? MarkdownRendering::brokenPictureUrl : local);
        const QSize size =
            local.isEmpty() ? QSize() : QImageReader(QUrl(local).toLocalFile()).size();
        if (size.isValid()) {
            picture.format.setWidth(size.width());
            picture.format.setHeight(size.height());
        }
        QTextCursor cursor(&document);
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture.format);
    }
}

} // namespace

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
    leaveOutRawHtml(document);
    localisePictures(document, folder);
    return document.toHtml();
}

void fitPictures(QTextDocument *document, double width)
{
    if (!document || width <= 0)
        return;
    // The picture's own size, kept in the format the first time it is fitted.
    constexpr int ownSize = QTextFormat::UserProperty;
    struct Fitted {
        int position, length;
        QTextImageFormat format;
    };
    QList<Fitted> fitted;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QTextImageFormat format = it.fragment().charFormat().toImageFormat();
            if (!format.isValid())
                continue;
            const bool known = format.hasProperty(ownSize);
            if (!known)
                format.setProperty(ownSize, QSizeF(format.width(), format.height()));
            const QSizeF own = format.property(ownSize).toSizeF();
            if (own.width() <= 0)
                continue;
            const double scale = std::min(1.0, width / own.width());
            if (known && qFuzzyCompare(format.width(), own.width() * scale))
                continue;
            format.setWidth(own.width() * scale);
            format.setHeight(own.height() * scale);
            fitted.append({it.fragment().position(), it.fragment().length(), format});
        }
    }
    QTextCursor cursor(document);
    for (const Fitted &picture : fitted) {
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture.format);
    }
}

} // namespace MarkdownRendering
