#include "AppDirectories.h"
#include "DecodePriority.h"
#include "PictureDecoder.h"
#include "PictureFixtures.h"
#include "SharedThumbnails.h"
#include "Thumbnail.h"
#include "ThumbnailCache.h"
#include "UndecodablePictures.h"
#include "Utils.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <atomic>
#include <memory>
#include <fcntl.h>
#include <sys/stat.h>

using PictureFixtures::drainThumbnailQueue;
using PictureFixtures::opaqueBounds;
using PictureFixtures::writeFile;

class TestThumbnail : public QObject {
    Q_OBJECT
    QTemporaryDir root;
    QImage badge;

    QString homePath(const QString &relative) const { return Utils::documentsPath() + relative; }

    QString cacheFile(const QString &key) const
    {
        return ThumbnailCache::sharedCache().directory() + '/' + key + ".png";
    }

    // Writes a picture at `relative` inside the home folder and returns its absolute path.
    QString picture(const QString &relative, QSize size, QColor color = Qt::darkGreen)
    {
        const QString path = homePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QString why;
        if (!PictureFixtures::writePicture(path, size, color, &why))
            qWarning("%s", qPrintable(why));
        return path;
    }

    // Asks `view` for the thumbnail of `path`, shows the badge meanwhile as the listing does,
    // and waits for the thumbnail.
    static QImage requestAndWait(ImageView &view, const QString &path)
    {
        QSignalSpy changed(&view, &ImageView::imageChanged);
        Thumbnail::cr_setLocalImageFilePath(&view, path);
        view.setImage(QImage());
        changed.wait(30000);
        return changed.count() == 2 ? view.image() : QImage();
    }

private slots:
    void initTestCase()
    {
        AppDirectories::useRoot(root.path());
        QVERIFY(QDir().mkpath(Utils::documentsPath()));
        badge = QImage(37, 37, QImage::Format_RGB32);
        badge.fill(Qt::yellow);
    }

    void aViewWithoutAFrameAsksNothing()
    {
        ImageView unsized; // nothing to draw into yet
        Thumbnail::cr_setLocalImageFilePath(&unsized, homePath("/Photos/a.jpg"));
        QVERIFY(unsized.requestedImageKey().isEmpty());
        QVERIFY(drainThumbnailQueue());
        QVERIFY(unsized.image().isNull());
    }

    void eachSizeAndFolderHasItsOwnEntry()
    {
        const QString inFolder = picture("/Photos/same.jpg", QSize(120, 90));
        const QString atHome = picture("/same.jpg", QSize(120, 90));
        ImageView cell(QSizeF(37, 37)), sheet(QSizeF(300, 300)), other(QSizeF(37, 37));
        const QImage small = requestAndWait(cell, inFolder);
        const QImage large = requestAndWait(sheet, inFolder);
        QVERIFY(!requestAndWait(other, atHome).isNull());
        QCOMPARE(small.deviceIndependentSize(), QSizeF(37, 37));
        QCOMPARE(large.deviceIndependentSize(), QSizeF(300, 300));
        const QSet<QString> keys{cell.requestedImageKey(), sheet.requestedImageKey(),
                                 other.requestedImageKey()};
        QCOMPARE(keys.size(), 3);
        for (const QString &key : keys)
            QVERIFY2(QFileInfo::exists(cacheFile(key)), qPrintable(key));
    }

    void aSecondRequestIsServedFromTheCacheWithoutTheFile()
    {
        const QString path = picture("/again.jpg", QSize(80, 60));
        ImageView first(QSizeF(37, 37));
        const QImage made = requestAndWait(first, path);
        QVERIFY(!made.isNull());
        QVERIFY(QFile::remove(path)); // served from the cache, or not at all

        ImageView second(QSizeF(37, 37));
        second.setImage(badge);
        QSignalSpy changed(&second, &ImageView::imageChanged);
        Thumbnail::cr_setLocalImageFilePath(&second, path);
        QCOMPARE(second.image(), badge); // set later, even on a hit
        QVERIFY(changed.wait(5000));
        QCOMPARE(second.image(), made);
    }

    void widePicturesGetBandsAboveAndBelowTallOnesBeside()
    {
        const double scale = QGuiApplication::primaryScreen()->devicePixelRatio();
        ImageView wideView(QSizeF(37, 37)), tallView(QSizeF(37, 37));
        const QImage wide = requestAndWait(wideView, picture("/wide.bmp", QSize(200, 100)));
        const QImage tall = requestAndWait(tallView, picture("/tall.gif", QSize(100, 200)));
        QVERIFY(!wide.isNull() && !tall.isNull());
        QCOMPARE(wide.size(), (QSizeF(37, 37) * scale).toSize());
        QVERIFY(wide.hasAlphaChannel());

        const QRect across = opaqueBounds(wide);
        QCOMPARE(across.width(), wide.width());
        QVERIFY(qAbs(across.height() - wide.height() / 2) <= 2);
        QVERIFY(qAbs(across.top() - (wide.height() - 1 - across.bottom())) <= 1);
        QCOMPARE(qAlpha(wide.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(wide.pixel(0, wide.height() - 1)), 0);

        const QRect upright = opaqueBounds(tall);
        QCOMPARE(upright.height(), tall.height());
        QVERIFY(qAbs(upright.width() - tall.width() / 2) <= 2);
        QVERIFY(qAbs(upright.left() - (tall.width() - 1 - upright.right())) <= 1);
        QCOMPARE(qAlpha(tall.pixel(tall.width() - 1, 0)), 0);
    }

    void everyPictureKindIsRead_data()
    {
        QTest::addColumn<QString>("extension");
        for (const char *extension : {"bmp", "gif", "jpg", "jpeg", "psd", "tiff", "tif"})
            QTest::newRow(extension) << QString(extension);
    }

    void everyPictureKindIsRead()
    {
        QFETCH(QString, extension);
        QVERIFY(Utils::isSupportPhotoFileFormat(extension));
        ImageView view(QSizeF(37, 37));
        const QImage thumbnail =
            requestAndWait(view, picture("/kinds/p." + extension, QSize(64, 48), Qt::blue));
        QVERIFY(!thumbnail.isNull());
        const QRgb middle = thumbnail.pixel(thumbnail.width() / 2, thumbnail.height() / 2);
        QCOMPARE(qAlpha(middle), 255);
        QVERIFY(qBlue(middle) > 200 && qRed(middle) < 50);
    }

    // A document shows its first page; the pages after it are never drawn into it.
    void aPdfShowsItsFirstPage()
    {
        QVERIFY(Thumbnail::isMadeFor("PDF"));
        const QString path = homePath("/kinds/paper.pdf");
        QPdfWriter writer(path);
        QPainter painter(&writer);
        painter.fillRect(painter.viewport(), Qt::blue);
        writer.newPage();
        painter.fillRect(painter.viewport(), Qt::red);
        painter.end();
        ImageView view(QSizeF(37, 37));
        const QImage thumbnail = requestAndWait(view, path);
        QVERIFY(!thumbnail.isNull());
        const QColor middle = thumbnail.pixelColor(thumbnail.rect().center());
        QVERIFY2(middle.blue() > 200 && middle.red() < 50, qPrintable(middle.name()));
        // Portrait A4: bands beside it, none above.
        QVERIFY(opaqueBounds(thumbnail).width() < thumbnail.width());
    }

    void aViewDroppedMeanwhileGetsNothingButTheThumbnailIsKept()
    {
        const QString path = picture("/dropped.jpg", QSize(90, 90));
        auto view = std::make_unique<ImageView>(QSizeF(37, 37));
        Thumbnail::cr_setLocalImageFilePath(view.get(), path);
        const QString key = view->requestedImageKey();
        view.reset();
        QVERIFY(drainThumbnailQueue());
        QVERIFY(ThumbnailCache::sharedCache().containsObjectForKey(key));
    }

    void aReusedViewDropsTheLateResultOfItsEarlierFile()
    {
        const QString earlier = picture("/earlier.jpg", QSize(90, 90), Qt::red);
        const QString now = picture("/now.jpg", QSize(90, 90), Qt::blue);
        ImageView warmUp(QSizeF(37, 37));
        const QImage nowThumbnail = requestAndWait(warmUp, now);
        QVERIFY(!nowThumbnail.isNull());

        // Hold the queue so the earlier file's thumbnail surely comes after the cached one.
        std::atomic<bool> open = false;
        Thumbnail::sharedImageThumbnailQueue().async([&] {
            while (!open)
                QThread::msleep(1);
        });
        ImageView cell(QSizeF(37, 37));
        Thumbnail::cr_setLocalImageFilePath(&cell, earlier);
        cell.setImage(badge);
        Thumbnail::cr_setLocalImageFilePath(&cell, now); // the cell is given another file
        cell.setImage(badge);
        QTRY_COMPARE(cell.image(), nowThumbnail);
        open = true;
        QVERIFY(drainThumbnailQueue());
        QCOMPARE(cell.image(), nowThumbnail);

        // A cell given a file without thumbnails forgets what it asked for.
        open = false;
        Thumbnail::sharedImageThumbnailQueue().async([&] {
            while (!open)
                QThread::msleep(1);
        });
        ImageView reused(QSizeF(300, 300));
        Thumbnail::cr_setLocalImageFilePath(&reused, earlier);
        reused.setRequestedImageKey(QString());
        reused.setImage(badge);
        open = true;
        QVERIFY(drainThumbnailQueue());
        QCOMPARE(reused.image(), badge);
    }

    void thePictureInSightGoesFirst()
    {
        // While a picture in sight is decoded, thumbnails wait; then a view that is the page in
        // sight is served before the rows still waiting.
        auto inSight = std::make_unique<DecodePriority::InSight>();
        QStringList order;
        std::vector<std::unique_ptr<ImageView>> views;
        const auto request = [&](const QString &name, QSizeF size, Thumbnail::Turn turn) {
            views.push_back(std::make_unique<ImageView>(size));
            connect(views.back().get(), &ImageView::imageChanged, this,
                    [&order, name] { order.append(name); });
            Thumbnail::cr_setLocalImageFilePath(
                views.back().get(), picture("/sight/" + name + ".jpg", QSize(90, 60)), turn);
        };
        for (const char *row : {"row1", "row2", "row3"})
            request(row, QSizeF(37, 37), Thumbnail::Turn::InOrder);
        request("page", QSizeF(300, 300), Thumbnail::Turn::First);
        QTest::qWait(300);
        QCOMPARE(order, QStringList());
        inSight.reset();
        QTRY_COMPARE(order.size(), 4);
        QVERIFY(order.indexOf("page") < order.indexOf("row2"));
        QVERIFY(order.indexOf("page") < order.indexOf("row3"));
    }

    // A thumbnail under way when a picture comes in sight stops for it and is made again once
    // the picture is in, never remembered as a failure; a picture in sight that outstays the
    // patience stops no decode begun after it.
    void aThumbnailGivesWayToAPictureInSightAndIsMadeAfter()
    {
        const QString noise = root.filePath("noise.v");
        const QString path = homePath("/giving/noise.jpg");
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QString why;
        QVERIFY2(PictureFixtures::runVips(
                     {"gaussnoise", noise, "3000", "2000", "--sigma", "60", "--mean", "128"}, &why),
                 qPrintable(why));
        QVERIFY2(PictureFixtures::runVips({"copy", noise, path + "[Q=95]"}, &why), qPrintable(why));
        {
            const DecodePriority::InSight outstaying;
            Error error;
            QVERIFY(!PictureDecoder::decodeThumbnailToFit(path, QSize(64, 64), &error).isNull());
            QVERIFY(!error);
        }
        ImageView view(QSizeF(37, 37));
        QSignalSpy changed(&view, &ImageView::imageChanged);
        Thumbnail::cr_setLocalImageFilePath(&view, path);
        // Comes most likely while the thumbnail is decoded, and stays a while; either way the
        // thumbnail must come whole once it leaves.
        QTest::qWait(40);
        auto inSight = std::make_unique<DecodePriority::InSight>();
        QTest::qWait(150);
        inSight.reset();
        QTRY_COMPARE(changed.count(), 1);
        QVERIFY(!view.image().isNull());
        QVERIFY(!SharedThumbnails::hasFailed(path));
        const auto version = UndecodablePictures::versionOf(path);
        QVERIFY(version && !UndecodablePictures::contains(*version));
    }

    void anUnreadablePictureKeepsItsBadge()
    {
        const QString broken = homePath("/broken.jpg");
        QVERIFY(writeFile(broken, QByteArray(4096, 'x')));
        for (const QString &path : {broken, homePath("/missing.tif")}) {
            ImageView view(QSizeF(37, 37));
            Thumbnail::cr_setLocalImageFilePath(&view, path);
            view.setImage(badge);
            QVERIFY(drainThumbnailQueue());
            QCOMPARE(view.image(), badge);
            QVERIFY(!ThumbnailCache::sharedCache().containsObjectForKey(view.requestedImageKey()));
        }
    }

    // Each visit of the folder asks again: the failure is remembered for that version of the
    // file, and a changed file is tried anew.
    void anUndecodablePictureIsTriedOncePerVersion()
    {
        const QString path = homePath("/undecodable.jpg");
        QVERIFY(writeFile(path, QByteArray("\xFF\xD8\xFF", 3) + QByteArray(4096, 'x')));
        static std::atomic<int> decodeFailures;
        decodeFailures = 0;
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &message) {
                if (message.contains(QLatin1String("undecodable.jpg")))
                    ++decodeFailures;
            });
        const auto visit = [&] {
            ImageView view(QSizeF(37, 37));
            Thumbnail::cr_setLocalImageFilePath(&view, path);
            view.setImage(badge);
            QVERIFY(drainThumbnailQueue());
            QCOMPARE(view.image(), badge);
        };
        visit();
        const auto version = UndecodablePictures::versionOf(path);
        const bool remembered = version && UndecodablePictures::contains(*version);
        visit();
        visit();
        const int failuresBeforeTheChange = decodeFailures;
        qInstallMessageHandler(previous);
        QVERIFY(remembered);
        QCOMPARE(failuresBeforeTheChange, 1);

        QVERIFY(QFile::remove(path));
        picture("/undecodable.jpg", QSize(40, 30));
        ImageView view(QSizeF(37, 37));
        QVERIFY(!requestAndWait(view, path).isNull());
    }

    void aDamagedCacheEntryIsMadeAgain()
    {
        const QString path = picture("/damaged.jpg", QSize(50, 50));
        const QString key = Thumbnail::cachedFileNameWithSizeForKey("/damaged.jpg", {37, 37});
        QVERIFY(writeFile(cacheFile(key), "not a png"));
        ImageView view(QSizeF(37, 37));
        QVERIFY(!requestAndWait(view, path).isNull());
        QVERIFY(!QImage(cacheFile(key)).isNull());
    }

    // The desktop's shared layout, checked by Python's standard library: the name is the MD5
    // of the URI, the text chunks name the file as it is, the file and its folder owner-only.
    void sharedThumbnailsAreWrittenReadAndCheckedAgainstTheFile()
    {
        const QString path = picture("/Shared/sky photo.jpg", QSize(640, 480), Qt::blue);
        ImageView view(QSizeF(37, 37));
        QVERIFY(!requestAndWait(view, path).isNull());
        const QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
        QVERIFY(uri.endsWith("/Shared/sky%20photo.jpg"));
        const QString shared = SharedThumbnails::directory() + "/normal/" +
                               QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex() + ".png";
        QProcess python;
        python.start("python3", {"-c", R"(
import os, stat, struct, sys, zlib
data = open(sys.argv[1], 'rb').read()
assert data[:8] == b'\x89PNG\r\n\x1a\n'
pos, text = 8, {}
while pos < len(data):
    length, kind = struct.unpack('>I4s', data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + length]
    if kind == b'IHDR':
        width, height = struct.unpack('>II', body[:8])
    elif kind == b'tEXt':
        key, value = body.split(b'\0', 1)
        text[key.decode()] = value.decode()
    elif kind == b'zTXt':
        key, rest = body.split(b'\0', 1)
        text[key.decode()] = zlib.decompress(rest[1:]).decode()
    pos += 12 + length
print(max(width, height))
print(text['Thumb::URI'])
print(text['Thumb::MTime'], int(os.stat(sys.argv[2]).st_mtime))
print(oct(stat.S_IMODE(os.stat(sys.argv[1]).st_mode)), oct(stat.S_IMODE(os.stat(os.path.dirname(sys.argv[1])).st_mode)))
)", shared, path});
        QVERIFY(python.waitForFinished(30000));
        const QStringList lines = QString::fromUtf8(python.readAllStandardOutput()).split('\n');
        QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
        QCOMPARE(lines.value(0), QStringLiteral("128"));
        QCOMPARE(lines.value(1), QString::fromUtf8(uri));
        const QStringList times = lines.value(2).split(' ');
        QCOMPARE(times.value(0), times.value(1));
        QCOMPARE(lines.value(3), QStringLiteral("0o600 0o700"));

        // A thumbnail another program left for a file is used without decoding it; one made
        // for an older version of the file is not.
        const QString other = picture("/Shared/other.jpg", QSize(64, 64), Qt::blue);
        QImage planted(128, 128, QImage::Format_RGB32);
        planted.fill(Qt::red);
        QVERIFY(SharedThumbnails::store(other, planted, 128));
        ImageView reused(QSizeF(37, 37));
        const QImage fromShared = requestAndWait(reused, other);
        QVERIFY(fromShared.pixelColor(fromShared.rect().center()).red() > 200);
        const QString stale = picture("/Shared/stale.jpg", QSize(64, 64), Qt::blue);
        QVERIFY(SharedThumbnails::store(stale, planted, 128));
        const timespec later[2] = {{0, UTIME_OMIT}, {2000000000, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(stale).constData(), later, 0), 0);
        ImageView fresh(QSizeF(37, 37));
        const QImage decoded = requestAndWait(fresh, stale);
        QVERIFY(decoded.pixelColor(decoded.rect().center()).blue() > 200);

        // A picture that can't be decoded is recorded as ours in the failure folder.
        const QString broken = homePath("/Shared/broken.jpg");
        QVERIFY(writeFile(broken, QByteArray("\xFF\xD8\xFF", 3) + QByteArray(100, 'x')));
        ImageView none(QSizeF(37, 37));
        Thumbnail::cr_setLocalImageFilePath(&none, broken);
        QVERIFY(drainThumbnailQueue());
        QVERIFY(SharedThumbnails::hasFailed(broken));
        QVERIFY(QFileInfo::exists(SharedThumbnails::directory() + "/fail/ombrisk-1.0/" +
                                  SharedThumbnails::fileNameFor(SharedThumbnails::uriOf(broken))));
    }
};

QTEST_MAIN(TestThumbnail)
#include "tst_thumbnail.moc"
