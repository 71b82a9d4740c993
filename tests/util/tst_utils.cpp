#include "AppDirectories.h"
#include "ByteCountFormatter.h"
#include "DateTimeFormatter.h"
#include "FileNameCodec.h"
#include "HomePaths.h"
#include "Printable.h"
#include "Translations.h"
#include "Utils.h"
#include "UtilsColors.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <sys/xattr.h>

class TestUtils : public QObject {
    Q_OBJECT
    QTemporaryDir root;

private slots:
    void initTestCase()
    {
        AppDirectories::useRoot(root.path());
        Translations::install(*QCoreApplication::instance(), QLocale(QLocale::English));
    }

    void pathsUnderTheRoot()
    {
        QCOMPARE(Utils::documentsPath(), root.path() + "/Documents/home");
        QCOMPARE(Utils::cachePath(), root.path() + "/Caches/home");
        QCOMPARE(AppDirectories::trashDirectory(), root.path() + "/Trash");
        QCOMPARE(AppDirectories::stateDirectory(), root.path() + "/State");
        // Listing paths and paths on disk, both ways.
        QCOMPARE(HomePaths::diskPath("/A", "b.txt"), Utils::documentsPath() + "/A/b.txt");
        QCOMPARE(HomePaths::diskPath(""), Utils::documentsPath());
        QCOMPARE(HomePaths::appending("", "A"), QStringLiteral("/A"));
        QCOMPARE(HomePaths::listingPath(Utils::documentsPath() + "/A/b.txt").value_or("-"),
                 QStringLiteral("/A/b.txt"));
        QCOMPARE(HomePaths::listingPath(Utils::documentsPath()).value_or("-"), QString(""));
        QVERIFY(!HomePaths::listingPath("/elsewhere/x"));
        QVERIFY(!HomePaths::listingPath(Utils::documentsPath() + "2/x"));
    }

    void kindTables()
    {
        QVERIFY(!Utils::isSupportPhotoFileFormat("png"));
        QVERIFY(Utils::isSupportPhotoFileFormat("jpg"));
        QVERIFY(Utils::isSupportPhotoFileFormat("tif"));
        for (const char *archive : {"zip", "cbz", "rar", "cbr", "7z", "tar", "gz"})
            QVERIFY(Utils::isSupportArchiverFileFormat(archive));
        QVERIFY(!Utils::isSupportArchiverFileFormat("tar.gz"));
        QVERIFY(!Utils::isSupportArchiverFileFormat(""));
        QVERIFY(Utils::isSupportMediaFileFormat("ogg"));
        QVERIFY(Utils::isSupportMediaFileFormat("mp2"));
    }

    void cacheNamesAreUpperCaseMd5()
    {
        const QString name = Utils::cachedFileNameForKey("/A/b.jpg37.00000037.000000");
        QVERIFY(QRegularExpression("^[0-9A-F]{32}$").match(name).hasMatch());
        QCOMPARE(Utils::cachedFileNameForKey(""),
                 QStringLiteral("D41D8CD98F00B204E9800998ECF8427E"));
        QCOMPARE(Utils::cachedFileNameForKey("a"),
                 QStringLiteral("0CC175B9C0F1B6A831C399E269772661"));
        QCOMPARE(Utils::cachedFileNameForKey("/Fotos/é.jpg"), // MD5 of the UTF-8 bytes
                 QString(QCryptographicHash::hash("/Fotos/é.jpg", QCryptographicHash::Md5)
                             .toHex()
                             .toUpper()));
    }

    void byteCounts_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0ll << "0 bytes";
        QTest::newRow("megabytes") << 2'345'678ll << "2.3 MB";
        QTest::newRow("gigabytes") << 3'456'789'012ll << "3.46 GB";
    }
    void byteCounts()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, text);
        QCOMPARE(Utils::sharedFileSizeFormatter().stringFromByteCount(bytes), text);
    }

    // ICU's medium date and short time in the process's locale (the tests run in English):
    // the day, the month's short name, the year and the time, nothing of the seconds.
    void datesHaveMediumDateAndShortTime()
    {
        const QString text = Utils::sharedDateFormatter().stringFromDate(
            QDateTime(QDate(2026, 12, 6), QTime(16, 5, 42)));
        QVERIFY2(QRegularExpression("^Dec 6, 2026.*4:05\\W*PM$").match(text).hasMatch(),
                 qPrintable(text));
        QVERIFY2(!text.contains("42"), qPrintable(text));
    }

    // The German catalogue, through the real translator, plurals included.
    void germanTextsComeFromTheCatalogue()
    {
        QVERIFY(Translations::install(*QCoreApplication::instance(), QLocale(QLocale::German)));
        QCOMPARE(QCoreApplication::translate("KPDocumentPickerViewController", "Select All"),
                 QStringLiteral("Alle auswählen"));
        QCOMPARE(
            QCoreApplication::translate("KPDocumentPickerViewController", "%n file(s)", nullptr, 1),
            QStringLiteral("1 Datei"));
        QCOMPARE(
            QCoreApplication::translate("KPDocumentPickerViewController", "%n file(s)", nullptr, 3),
            QStringLiteral("3 Dateien"));
        QCOMPARE(QCoreApplication::translate("LocalStorageViewController", "Move..."),
                 QStringLiteral("Verschieben …"));
    }

    void emptiness()
    {
        QVERIFY(Utils::isEmptyString(QVariant()));
        QVERIFY(Utils::isEmptyString(QString("")));
        QVERIFY(Utils::isEmptyString(QVariant(42)));
        QVERIFY(!Utils::isEmptyString(QString(" ")));
    }

    void hexColours()
    {
        const QColor badge = Utils::colorWithHexString("fdb76b");
        QCOMPARE(Utils::colorWithHexString("#fdb76b"), badge);
        QCOMPARE(badge.red(), 253);
        QCOMPARE(badge.green(), 183);
        QCOMPARE(badge.blue(), 107);
        QCOMPARE(Utils::colorWithHexString("#fff"), QColor(Qt::white));
        QCOMPARE(Utils::colorWithHexString("abc"), Utils::colorWithHexString("#aabbcc"));
        QCOMPARE(Utils::colorWithHexString("#zz0000").red(), 0);
        QVERIFY(qAbs(Utils::colorWithHexString("808080", 0.5).alphaF() - 0.5f) <
                0.001f); // 16-bit alpha
    }

    // Names as bytes: valid UTF-8 reads as usual, every other byte comes back as it was.
    void fileNameBytesRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const QString e9(QChar(0xdce9)), e8(QChar(0xdce8));
        QTest::newRow("utf-8") << QByteArray("caf\xc3\xa9 \xf0\x9f\x98\x80") << "café 😀";
        QTest::newRow("latin-1") << QByteArray("caf\xe9 caf\xe8") << "caf" + e9 + " caf" + e8;
        QTest::newRow("cut sequence")
            << QByteArray("a\xe2\x82") << "a" + QString(QChar(0xdce2)) + QChar(0xdc82);
        QTest::newRow("encoded surrogate")
            << QByteArray("\xed\xa0\x80")
            << QString() + QChar(0xdced) + QChar(0xdca0) + QChar(0xdc80);
        QTest::newRow("overlong") << QByteArray("\xc0\xaf")
                                  << QString() + QChar(0xdcc0) + QChar(0xdcaf);
        QTest::newRow("mixed") << QByteArray("\xe9\xc3\xa9") << e9 + "é";
    }
    void fileNameBytesRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(FileNameCodec::decode(bytes), text);
        QCOMPARE(FileNameCodec::encode(text), bytes);
        QCOMPARE(printable(text).contains("\\x"), !bytes.isValidUtf8());
    }

    void skipBackupAttribute()
    {
        const QString path = root.filePath("item");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        if (!Utils::addSkipBackupAttributeToItemAtPath(path))
            QSKIP("This file system keeps no user extended attributes");
        char value[16] = {};
        const auto n = getxattr(QFile::encodeName(path).constData(), "user.xdg.robots.backup",
                                value, sizeof value);
        QCOMPARE(QByteArray(value, int(n)), QByteArray("false"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Error excluding .* from backup"));
        QVERIFY(!Utils::addSkipBackupAttributeToItemAtPath(root.filePath("missing")));
    }
};

QTEST_GUILESS_MAIN(TestUtils)
#include "tst_utils.moc"
