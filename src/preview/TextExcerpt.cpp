#include "TextExcerpt.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>

TextExcerpt TextExcerpt::read(const QString &path, qint64 limit)
{
    TextExcerpt excerpt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        excerpt.error = Error(QStringLiteral("Ombrisk.Preview"), 1,
                              QCoreApplication::translate("TextExcerpt",
                                                          "The file cannot be read: %1. Check "
                                                          "that it still exists and is readable.")
                                  .arg(file.errorString()));
        return excerpt;
    }
    const QByteArray bytes = file.read(limit);
    excerpt.omittedBytes = std::max<qint64>(0, file.size() - bytes.size());
    const auto encoding = QStringConverter::encodingForData(bytes);
    // A decoder keeps an incomplete last character to itself instead of replacing it.
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf8));
    excerpt.text = decoder.decode(bytes);
    return excerpt;
}
