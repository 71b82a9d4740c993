#include "PictureFixtures.h"

#include "Thumbnail.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace PictureFixtures {

bool writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

bool writePicture(const QString &path, QSize size, QColor color, QString *why)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    const QString kind = QFileInfo(path).suffix().toLower();
    if (kind == QLatin1String("png") || kind == QLatin1String("jpg") ||
        kind == QLatin1String("jpeg")) {
        if (image.save(path, nullptr, 95))
            return true;
        *why = QStringLiteral("Qt cannot write ") + path;
        return false;
    }
    QTemporaryDir scratch;
    const QString source = scratch.filePath(QStringLiteral("source.png"));
    image.save(source);
    QStringList arguments{QStringLiteral("copy"), source, path};
    if (kind == QLatin1String("psd") || kind == QLatin1String("bmp"))
        arguments = {QStringLiteral("magicksave"), source, path, QStringLiteral("--format"), kind};
    return runVips(arguments, why);
}

bool runVips(const QStringList &arguments, QString *why)
{
    QProcess vips;
    vips.start(QStringLiteral("vips"), arguments);
    if (vips.waitForFinished(60000) && vips.exitStatus() == QProcess::NormalExit &&
        vips.exitCode() == 0)
        return true;
    *why = QStringLiteral("vips %1: %2").arg(arguments.join(' '), vips.readAllStandardError());
    return false;
}

bool drainThumbnailQueue()
{
    QObject receiver;
    bool drained = false;
    Thumbnail::sharedImageThumbnailQueue().async(
        [&] { DispatchQueue::main(&receiver, [&] { drained = true; }); });
    return QTest::qWaitFor([&] { return drained; }, 60000);
}

QRect opaqueBounds(const QImage &image, int threshold)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > threshold)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace PictureFixtures
