#include "PreviewKind.h"

#include "PictureDecoder.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>

namespace PreviewKinds {

Kind kindOfFile(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return Kind::None;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Kind::None;
    // Enough for the picture signatures and for the MIME database's text test.
    const QByteArray head = file.read(4096);
    if (head.isEmpty())
        return Kind::None;
    if (PictureDecoder::signatureKind(head) != PictureDecoder::SignatureKind::None)
        return Kind::Picture;
    if (head.startsWith("%PDF-"))
        return Kind::Pdf;
    // The content decides whether it is text at all (a text named .jpg is text, a binary
    // named .txt is not); the name then says whether that text is Markdown.
    const QMimeDatabase mimeTypes;
    if (!mimeTypes.mimeTypeForData(head).inherits(QStringLiteral("text/plain")))
        return Kind::None;
    return mimeTypes.mimeTypeForFile(path, QMimeDatabase::MatchExtension)
                   .inherits(QStringLiteral("text/markdown"))
               ? Kind::Markdown
               : Kind::Text;
}

} // namespace PreviewKinds
