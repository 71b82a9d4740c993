#include "FileClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

namespace FileClipboard {

namespace {

const QString gnomeFormat = QStringLiteral("x-special/gnome-copied-files");
const QString kdeCutFormat = QStringLiteral("application/x-kde-cutselection");

QStringList localPaths(const QList<QUrl> &urls)
{
    QStringList paths;
    for (const QUrl &url : urls)
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            paths.append(url.toLocalFile());
    return paths;
}

} // namespace

QMimeData *mimeDataFor(const QStringList &paths, bool cut)
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    QByteArray gnome = cut ? "cut" : "copy";
    for (const QString &path : paths) {
        urls.append(QUrl::fromLocalFile(path));
        gnome += '\n' + urls.constLast().toEncoded();
    }
    data->setUrls(urls);
    data->setData(gnomeFormat, gnome);
    if (cut)
        data->setData(kdeCutFormat, "1");
    data->setText(paths.join(u'\n'));
    return data;
}

std::optional<Contents> contentsOf(const QMimeData *data)
{
    if (!data)
        return std::nullopt;
    Contents contents;
    if (data->hasFormat(gnomeFormat)) {
        const QList<QByteArray> lines = data->data(gnomeFormat).split('\n');
        QList<QUrl> urls;
        for (qsizetype i = 1; i < lines.size(); ++i)
            if (!lines.at(i).trimmed().isEmpty())
                urls.append(QUrl::fromEncoded(lines.at(i).trimmed()));
        contents.paths = localPaths(urls);
        contents.cut = lines.value(0).trimmed() == "cut";
    }
    if (contents.paths.isEmpty() && data->hasUrls()) {
        contents.paths = localPaths(data->urls());
        contents.cut = data->data(kdeCutFormat).startsWith('1');
    }
    if (contents.paths.isEmpty())
        return std::nullopt;
    return contents;
}

void put(const QStringList &paths, bool cut)
{
    QGuiApplication::clipboard()->setMimeData(mimeDataFor(paths, cut));
}

std::optional<Contents> contents()
{
    return contentsOf(QGuiApplication::clipboard()->mimeData());
}

void clearIfHolding(const QStringList &paths)
{
    const auto held = contents();
    if (held && held->cut && held->paths == paths)
        QGuiApplication::clipboard()->clear();
}

} // namespace FileClipboard
