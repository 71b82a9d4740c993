#include "ArchiveFixtures.h"
#include "ArchiverManager.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace ArchiveFixtures;

namespace {

// Cancels on the n-th question, wherever the work then is.
class CancelOnQuestion : public ArchiveProgressDelegate {
public:
    explicit CancelOnQuestion(int n) : m_n(n) {}
    void archiveProgressChanged(const ArchiveProgress &) override {}
    bool isArchiveCancelled() override { return ++m_asked >= m_n; }

private:
    int m_n;
    int m_asked = 0;
};

} // namespace

// Progress and cancellation through the delegate, on every backend and on zip creation.
class TestProgress : public QObject {
    Q_OBJECT
    QTemporaryDir work;
    QString m_source;

    QString makeArchive(const QString &archive, const QString &command)
    {
        const QString path = work.filePath(archive);
        if (!QFileInfo::exists(path) && run(work.path(), "sh", {"-c", command}) != 0)
            qWarning("could not make %s", qPrintable(archive));
        return path;
    }

private slots:
    void initTestCase()
    {
        m_source = work.filePath("src");
        for (int i = 0; i < 12; ++i)
            writeFile(m_source + QString("/part%1/f%2.bin").arg(i % 3).arg(i), noise(300000, i));
        QDir().mkpath(m_source + "/empty");
    }

    // Reports come in order, name entries of the archive, and end at n of n and 100%.
    void progressReachesTheEnd_data() { addBackendRows("p"); }
    void progressReachesTheEnd()
    {
        FETCH_BACKEND_ROW();
        const auto path = makeArchive(archive, command);
        RecordingDelegate delegate;
        VERIFY_OK(unpack(path, work.filePath("out-" + archive), {}, &delegate));
        QVERIFY(!delegate.reports.isEmpty());
        for (qsizetype i = 1; i < delegate.reports.size(); ++i) {
            QVERIFY(delegate.reports[i].bytesDone >= delegate.reports[i - 1].bytesDone);
            QVERIFY(delegate.reports[i].entriesDone >= delegate.reports[i - 1].entriesDone);
        }
        const auto &last = delegate.reports.last();
        QVERIFY(last.entriesTotal > 0);
        QCOMPARE(last.entriesDone, last.entriesTotal);
        QVERIFY(last.bytesTotal > 0);
        QCOMPARE(last.bytesDone, last.bytesTotal);
        QVERIFY2(last.currentEntry.contains(".bin") || last.currentEntry.contains("part"),
                 qPrintable(last.currentEntry));
    }

    // A cancel, early or late, leaves the destination as it was and no staging folder.
    void cancelLeavesNothing_data() { addBackendRows("p"); }
    void cancelLeavesNothing()
    {
        FETCH_BACKEND_ROW();
        const auto path = makeArchive(archive, command);
        for (int question : {1, 3, 8}) {
            QTemporaryDir dir;
            const QString dest = dir.filePath("dest");
            writeFile(dest + "/part0/f0.bin", "mine");
            CancelOnQuestion delegate(question);
            VERIFY_CODE(unpack(path, dest, {}, &delegate), 105);
            QCOMPARE(tree(dir.path()), (QStringList{"dest/", "dest/part0/", "dest/part0/f0.bin"}));
            QCOMPARE(readFile(dest + "/part0/f0.bin"), QByteArray("mine"));
        }
    }

    // Listing answers a cancel too (a long listing would otherwise hold a SIGTERM back).
    void listingAnswersACancel_data() { addBackendRows("p"); }
    void listingAnswersACancel()
    {
        FETCH_BACKEND_ROW();
        const auto path = makeArchive(archive, command);
        CancelOnQuestion cancel(1);
        Error error;
        QVERIFY(ArchiverManager::listEntriesAtPath(path, {}, &error, &cancel).isEmpty());
        QCOMPARE(error.code, 105);
    }

    void zipCreationReportsAndCancels()
    {
        const QString zip = work.filePath("made.zip");
        RecordingDelegate delegate;
        Error error;
        QVERIFY2(ArchiverManager::compressZipAtPaths({m_source}, zip, {}, &error, &delegate),
                 qPrintable(error.message));
        QVERIFY(!delegate.reports.isEmpty());
        const auto &last = delegate.reports.last();
        QCOMPARE(last.entriesTotal, 13); // twelve files and one placeholder
        QCOMPARE(last.entriesDone, last.entriesTotal);
        QCOMPARE(last.bytesDone, last.bytesTotal);
        QVERIFY(last.bytesTotal >= 12 * 300000);

        const QByteArray before = readFile(zip);
        for (int question : {1, 4}) {
            CancelOnQuestion cancel(question);
            QVERIFY(!ArchiverManager::compressZipAtPaths({m_source}, zip, "pw", &error, &cancel,
                                                         ZipTarget::Existing::Replace));
            QCOMPARE(error.code, 105);
            QCOMPARE(readFile(zip), before); // the previous zip is untouched
        }
        QStringList leftovers = QDir(work.path()).entryList(QDir::Files | QDir::Hidden);
        leftovers.removeIf([](const QString &name) {
            return !name.startsWith("made.zip") && !name.startsWith(".ombrisk-packing");
        });
        QCOMPARE(leftovers, QStringList{"made.zip"});
    }
};

QTEST_GUILESS_MAIN(TestProgress)
#include "tst_progress.moc"
