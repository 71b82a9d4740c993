#include "TextPreview.h"

#include "ByteCountFormatter.h"
#include "DispatchQueue.h"
#include "MarkdownRendering.h"
#include "TextExcerpt.h"
#include "Utils.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPointer>

namespace {

DispatchQueue &readingQueue()
{
    static auto *queue = new DispatchQueue(QStringLiteral("TextPreview.readingQueue"));
    return *queue;
}

struct ReadText {
    QStringList lines;
    QString html;
    qint64 omittedBytes = 0;
    QString errorText;
};

QStringList rowsOf(const QString &text)
{
    QStringList rows;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        do {
            rows.append(line.left(TextPreview::longestRow).toString());
            line = line.mid(std::min(line.size(), TextPreview::longestRow));
        } while (!line.isEmpty());
    }
    return rows;
}

ReadText readText(const QString &path, bool markdown)
{
    const TextExcerpt excerpt = TextExcerpt::read(path);
    ReadText read;
    read.omittedBytes = excerpt.omittedBytes;
    read.errorText = excerpt.error.message;
    if (markdown)
        read.html = MarkdownRendering::toLocalHtml(excerpt.text, QFileInfo(path).absolutePath());
    else
        read.lines = rowsOf(excerpt.text);
    return read;
}

} // namespace

TextPreview::TextPreview(QObject *parent) : QObject(parent) {}

QFont TextPreview::fixedFont()
{
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

void TextPreview::fitPictures(QQuickTextDocument *document, double width)
{
    if (document)
        MarkdownRendering::fitPictures(document->textDocument(), width);
}

void TextPreview::clear()
{
    ++m_request;
    m_lines.setStringList({});
    m_html.clear();
    m_omittedText.clear();
    m_errorText.clear();
    m_loaded = false;
    emit loadedChanged();
}

void TextPreview::load(const QString &path, bool markdown)
{
    clear();
    m_markdown = markdown;
    const quint64 request = m_request;
    QPointer<TextPreview> weakSelf(this);
    QObject *receiver = DispatchQueue::mainThreadReceiver();
    readingQueue().async([weakSelf, receiver, request, path, markdown] {
        ReadText read = readText(path, markdown);
        DispatchQueue::main(receiver, [weakSelf, request, read] {
            if (!weakSelf || weakSelf->m_request != request)
                return;
            TextPreview &self = *weakSelf;
            self.m_lines.setStringList(read.lines);
            self.m_html = read.html;
            self.m_errorText = read.errorText;
            self.m_omittedText =
                read.omittedBytes > 0
                    ? tr("The rest of the file (%1) is not shown.")
                          .arg(Utils::sharedFileSizeFormatter().stringFromByteCount(
                              read.omittedBytes))
                    : QString();
            self.m_loaded = true;
            emit self.loadedChanged();
        });
    });
}
