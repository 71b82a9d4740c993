#include "ThumbnailCache.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <thread>

namespace {

QImage filled(QSize size, QColor color, double ratio = 1)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    image.setDevicePixelRatio(ratio);
    return image;
}

void setModified(const QString &path, const QDateTime &when)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
}

} // namespace

class TestThumbnailCache : public QObject {
    Q_OBJECT

private slots:
    void storesInMemoryAndOnDiskWithTheRatio()
    {
        QTemporaryDir root;
        const QString folder = root.filePath("thumbnails");
        const QImage image = filled(QSize(74, 74), QColor(10, 200, 30, 128), 2);
        {
            ThumbnailCache cache(folder);
            QVERIFY(!cache.containsObjectForKey("ABC"));
            QVERIFY(cache.objectForKey("ABC").isNull());
            Error error;
            QVERIFY2(cache.setObject(image, "ABC", &error), qPrintable(error.message));
            QVERIFY(cache.containsObjectForKey("ABC"));
            QCOMPARE(cache.objectForKey("ABC"), image);
        }
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"ABC.png"});

        ThumbnailCache later(folder); // a new process: only the files remain
        QVERIFY(later.containsObjectForKey("ABC"));
        QVERIFY(later.objectInMemoryForKey("ABC").isNull());
        const QImage read = later.objectForKey("ABC");
        QCOMPARE(later.objectInMemoryForKey("ABC"), read);
        QCOMPARE(read.devicePixelRatio(), 2.0);
        QCOMPARE(read.deviceIndependentSize(), QSizeF(37, 37));
        QCOMPARE(read.convertToFormat(image.format()), image);
    }

    void trimDropsWhatWasNotUsedSinceTheDate()
    {
        QTemporaryDir root;
        ThumbnailCache cache(root.path());
        for (const char *key : {"OLD", "READ", "NEW"})
            QVERIFY(cache.setObject(filled(QSize(4, 4), Qt::blue), key));
        const QDateTime eightDaysAgo = QDateTime::currentDateTime().addDays(-8);
        setModified(root.filePath("OLD.png"), eightDaysAgo);
        setModified(root.filePath("READ.png"), eightDaysAgo);
        QVERIFY(!cache.objectForKey("READ").isNull());   // a read from memory marks the file too
        QFile leftover(root.filePath("NEW.png.Ab12Cd")); // a write cut short by a crash
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.close();
        setModified(leftover.fileName(), eightDaysAgo);

        cache.trimToDate(QDateTime::currentDateTime().addSecs(-604800));
        QVERIFY(!cache.containsObjectForKey("OLD")); // gone from memory as well as from disk
        QVERIFY(cache.objectForKey("OLD").isNull());
        QVERIFY(cache.containsObjectForKey("READ"));
        QVERIFY(cache.containsObjectForKey("NEW"));
        QCOMPARE(QDir(root.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"NEW.png", "READ.png"}));
    }

    void keysThatAreNoPlainFileNameAreRefused()
    {
        QTemporaryDir root;
        const QString folder = root.filePath("thumbnails");
        ThumbnailCache cache(folder);
        for (const QString key : {"", ".", "..", "../escape", "a/b"}) {
            Error error;
            QVERIFY(!cache.setObject(filled(QSize(2, 2), Qt::red), key, &error));
            QCOMPARE(error.code, 302);
            QVERIFY(!cache.containsObjectForKey(key));
        }
        QCOMPARE(QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void readersNeverSeeAHalfWrittenFile()
    {
        QTemporaryDir root;
        ThumbnailCache writer(root.path());
        ThumbnailCache reader(root.path(), 0); // no memory layer: every read goes to the file
        const QImage red = filled(QSize(300, 300), Qt::red);
        const QImage green = filled(QSize(300, 300), Qt::green);
        QVERIFY(writer.setObject(red, "SHARED"));
        std::atomic<bool> stop = false;
        std::thread writing([&] {
            for (int i = 0; i < 200; ++i)
                writer.setObject(i % 2 ? red : green, "SHARED");
            stop = true;
        });
        int reads = 0, wrong = 0;
        while (!stop) {
            const QImage image = reader.objectForKey("SHARED").convertToFormat(red.format());
            ++reads;
            wrong += image != red && image != green;
        }
        writing.join();
        QVERIFY(reads > 0);
        QCOMPARE(wrong, 0);
        QCOMPARE(QDir(root.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"SHARED.png"});
    }
};

QTEST_GUILESS_MAIN(TestThumbnailCache)
#include "tst_thumbnailcache.moc"
