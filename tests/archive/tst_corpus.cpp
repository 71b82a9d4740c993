#include "ArchiveFixtures.h"
#include "ArchiverManager.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace ArchiveFixtures;

// Archives made by others, with the tools' known faults between them and the user.
class TestCorpus : public QObject {
    Q_OBJECT

    static QString sample(const QString &name) { return corpusDir() + "/" + name; }

private slots:
    void init() { REQUIRE_CORPUS(); }

    void passwordNeededWhenAnyEntryIsEncrypted_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("needs");
        QTest::newRow("rar4 partly") << "rar4-partly-encrypted.rar" << true;
        QTest::newRow("rar5 mixed") << "rar5-mixed-encryption.rar" << true;
        QTest::newRow("rar5 headers") << "rar5-encrypted-headers.rar" << true;
        QTest::newRow("7z data only") << "7z-data-encrypted.7z" << true;
        QTest::newRow("7z headers") << "7z-header-encrypted.7z" << true;
        QTest::newRow("rar5 plain") << "rar5-plain-multi.rar" << false;
        QTest::newRow("7z plain") << "7z-plain-solid.7z" << false;
    }
    void passwordNeededWhenAnyEntryIsEncrypted()
    {
        QFETCH(QString, name);
        QFETCH(bool, needs);
        QCOMPARE(ArchiverManager::checkNeedPassword(sample(name)), needs);
    }

    void encryptedRars()
    {
        QTemporaryDir dir;
        Error error;
        QVERIFY2(ArchiverManager::decompressAtPath(sample("rar5-encrypted-data.rar"),
                                                   dir.filePath("ok"), "password", &error),
                 qPrintable(error.message));
        QCOMPARE(QFileInfo(dir.filePath("ok/stest1.txt")).size(), 2048);
        QVERIFY(!ArchiverManager::decompressAtPath(sample("rar5-encrypted-data.rar"),
                                                   dir.filePath("wrong"), "nope", &error));
        QCOMPARE(error.code, 101);
        QVERIFY(tree(dir.filePath("wrong")).isEmpty()); // no empty files left behind
        QVERIFY(!ArchiverManager::decompressAtPath(sample("rar4-data-encrypted.rar"),
                                                   dir.filePath("rar4"), "12345678", &error));
        QCOMPARE(error.code, 104); // not "incorrect password"
    }

    void hostileSamplesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *n :
             {"rar5-dotdot.rar", "rar5-backslash-escape.rar", "rar5-symlink-escape.rar",
              "tar-backslash-escape.tar", "7z-absolute-path.7z"})
            QTest::newRow(n) << n;
    }
    void hostileSamplesAreRefused()
    {
        QFETCH(QString, name);
        if (!QFileInfo::exists(sample(name)))
            QSKIP("sample not in this corpus");
        QTemporaryDir dir;
        const QString dest = dir.filePath("out/inner");
        QDir().mkpath(dest);
        Error error;
        QVERIFY(!ArchiverManager::decompressAtPath(sample(name), dest, {}, &error));
        QCOMPARE(error.code, 102);
        QCOMPARE(tree(dir.filePath("out")), QStringList{"inner/"});
    }

    void plainSamplesExtract_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *n : {"rar4-unicode-names.rar", "rar5-symlinks.rar", "rar4-solid.rar",
                              "7z-plain-solid.7z", "gz-single-file.gz"})
            QTest::newRow(n) << n;
    }
    void plainSamplesExtract()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        Error error;
        QVERIFY2(ArchiverManager::decompressAtPath(sample(name), dir.filePath("out"), {}, &error),
                 qPrintable(error.message));
        QVERIFY(!tree(dir.filePath("out")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCorpus)
#include "tst_corpus.moc"
