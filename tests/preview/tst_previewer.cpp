// The previewer without a window: pictures decoded ahead and dropped behind (pages passed never
// decoded), kept across a new list, at full resolution on demand; the decoder's size,
// orientation and pixel format at screen size; PDFs opened and rendered off the main thread;
// the items paged by kind.
#include "FilePreviewController.h"
#include "PictureDecoder.h"
#include "PictureFixtures.h"
#include "PreviewFixtures.h"

#include <QAbstractItemModelTester>
#include <QPainter>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class ListDataSource : public FilePreviewControllerDataSource {
public:
    QStringList items;
    int numberOfPreviewItems(FilePreviewController *) override { return int(items.size()); }
    QString previewItemAtIndex(FilePreviewController *, int index) override
    {
        return items.value(index);
    }
};

// A pager fitting pictures into 200 x 200 pixels, its model checked by Qt's tester throughout.
struct Pager : PicturePager {
    QAbstractItemModelTester tester{this, QAbstractItemModelTester::FailureReportingMode::QtTest};
    Pager() { setPixelSize(QSize(200, 200)); }
};

QList<int> decodedPages(const PicturePager &pager)
{
    QList<int> pages;
    for (int index = 0; index < pager.rowCount(); ++index) {
        if (!pager.pictureAt(index).isNull())
            pages.append(index);
    }
    return pages;
}

} // namespace

class TestPreviewer : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_pictures;
    QString at(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        for (int i = 0; i < 5; ++i) {
            m_pictures.append(at(QStringLiteral("p%1.jpg").arg(i)));
            QVERIFY(PreviewFixtures::writeJpeg(m_pictures.last(), QSize(800, 600)));
        }
    }

    void theCurrentPageAndItsNeighboursAreDecodedCurrentFirst()
    {
        Pager pager;
        QSignalSpy decoded(&pager, &PicturePager::pageDecoded);
        pager.setPaths(m_pictures, 2);
        QTRY_COMPARE(decoded.size(), 3);
        QCOMPARE(decoded.at(0).at(0).toInt(), 2);
        QCOMPARE(decoded.at(1).at(0).toInt(), 3);
        QCOMPARE(decoded.at(2).at(0).toInt(), 1);
        QCOMPARE(decodedPages(pager), (QList<int>{1, 2, 3}));
        // Fitted into the window's pixels, aspect kept.
        QCOMPARE(pager.pictureAt(2).size(), QSize(200, 150));
        QCOMPARE(pager.data(pager.index(2), PicturePager::PictureRole).value<QImage>().size(),
                 QSize(200, 150));

        pager.setCurrentIndex(3);
        QCOMPARE(decodedPages(pager), (QList<int>{2, 3})); // page 1 left behind at once
        QTRY_COMPARE(decodedPages(pager), (QList<int>{2, 3, 4}));
    }

    void fullResolutionIsForTheCurrentPageOnly()
    {
        Pager pager;
        pager.setPaths(m_pictures, 0);
        QTRY_COMPARE(decodedPages(pager), (QList<int>{0, 1}));
        pager.requestFullResolution(1); // not the current page: nothing
        pager.requestFullResolution(0);
        QTRY_VERIFY(pager.isFullResolutionAt(0));
        QCOMPARE(pager.pictureAt(0).size(), QSize(800, 600));
        QVERIFY(!pager.isFullResolutionAt(1));
        QCOMPARE(pager.pictureAt(1).size(), QSize(200, 150));
        // Leaving the page gives its memory back; it is fitted again.
        pager.setCurrentIndex(1);
        QVERIFY(pager.pictureAt(0).isNull());
        QTRY_COMPARE(pager.pictureAt(0).size(), QSize(200, 150));
        QVERIFY(!pager.isFullResolutionAt(0));
    }

    void aResizeDecodesAgainAndDropsWhatWasUnderway()
    {
        Pager pager;
        pager.setPaths(m_pictures, 0);
        pager.setPixelSize(QSize(400, 400));
        QTRY_COMPARE(pager.pictureAt(0).size(), QSize(400, 300));
        QTRY_COMPARE(pager.pictureAt(1).size(), QSize(400, 300));
    }

    void pagesPassedAreNeverDecoded()
    {
        // Page 0 and pages 1 to 8 are named pipes: opening one waits until something writes to
        // it. Page 0 holds the queue while the pages are passed; a decode of any page passed
        // would hold it for good, and page 10 would never come.
        QStringList paths;
        for (int i = 0; i < 12; ++i) {
            paths.append(at(QStringLiteral("pass%1.jpg").arg(i)));
            if (i <= 8)
                QCOMPARE(::mkfifo(QFile::encodeName(paths.last()).constData(), 0600), 0);
            else
                QVERIFY(PreviewFixtures::writeJpeg(paths.last(), QSize(800, 600)));
        }
        const auto release = [&](int index) {
            const int pipe =
                ::open(QFile::encodeName(paths.at(index)).constData(), O_WRONLY | O_NONBLOCK);
            if (pipe >= 0)
                ::close(pipe); // a reader waiting on it reads the end of the file
            return true;
        };
        const auto releaseAll = qScopeGuard([&] {
            for (int i = 0; i <= 8; ++i)
                release(i);
        });
        Pager pager;
        pager.setPaths(paths, 0);
        for (int index = 1; index <= 10; ++index)
            pager.setCurrentIndex(index);
        QTRY_VERIFY_WITH_TIMEOUT(release(0) && decodedPages(pager) == (QList<int>{9, 10, 11}),
                                 30000);
    }

    void aNewListOrANearSizeKeepsWhatIsDecoded()
    {
        Pager pager;
        // The opened picture alone, before its folder is listed.
        pager.setPaths({m_pictures.at(2)}, 0);
        QTRY_VERIFY(!pager.pictureAt(0).isNull());
        const qint64 opened = pager.pictureAt(0).cacheKey();
        pager.setPaths(m_pictures, 2);
        QCOMPARE(pager.pictureAt(2).cacheKey(), opened);
        QTRY_COMPARE(decodedPages(pager), (QList<int>{1, 2, 3}));

        // 200 x 150 pictures still fit 201 x 150: none is decoded again. Another pager's
        // decode, on the same queue, comes back after anything this one would have asked.
        QSignalSpy decoded(&pager, &PicturePager::pageDecoded);
        pager.setPixelSize(QSize(201, 150));
        PicturePager barrier;
        barrier.setPixelSize(QSize(10, 10));
        barrier.setPaths({m_pictures.first()}, 0);
        QTRY_VERIFY(!barrier.pictureAt(0).isNull());
        QCOMPARE(decoded.size(), 0);
        QCOMPARE(pager.pictureAt(2).cacheKey(), opened);
    }

    void theDecoderFitsAndTurnsPicturesAtScreenSize_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("redCorner"); // 0 left or top, 1 right or bottom
        // A 4000 x 2000 photograph whose stored top-left quarter is red, for a 1280 x 1004
        // window: shrunk by 2 while it loads, then fitted.
        QTest::newRow("1 as stored") << 1 << QSize(1280, 640) << QPoint(0, 0);
        QTest::newRow("2 mirrored") << 2 << QSize(1280, 640) << QPoint(1, 0);
        QTest::newRow("3 half turn") << 3 << QSize(1280, 640) << QPoint(1, 1);
        QTest::newRow("4 flipped") << 4 << QSize(1280, 640) << QPoint(0, 1);
        QTest::newRow("5 transposed") << 5 << QSize(502, 1004) << QPoint(0, 0);
        QTest::newRow("6 quarter right") << 6 << QSize(502, 1004) << QPoint(1, 0);
        QTest::newRow("7 transversed") << 7 << QSize(502, 1004) << QPoint(1, 1);
        QTest::newRow("8 quarter left") << 8 << QSize(502, 1004) << QPoint(0, 1);
    }

    void theDecoderFitsAndTurnsPicturesAtScreenSize()
    {
        QFETCH(int, orientation);
        QFETCH(QSize, size);
        QFETCH(QPoint, redCorner);
        const QString path = at(QStringLiteral("turned%1.jpg").arg(orientation));
        QVERIFY(PreviewFixtures::writeJpeg(path, QSize(4000, 2000), orientation));
        Error error;
        const QImage picture = PictureDecoder::decodeToFit(path, QSize(1280, 1004), &error);
        QVERIFY2(!picture.isNull(), qPrintable(error.message));
        QCOMPARE(picture.size(), size);
        QCOMPARE(picture.format(), QImage::Format_RGB32); // drawn as it is, no conversion
        const auto isRed = [&](QPoint corner) {
            const QRgb pixel =
                picture.pixel(corner.x() ? picture.width() * 7 / 8 : picture.width() / 8,
                              corner.y() ? picture.height() * 7 / 8 : picture.height() / 8);
            return qRed(pixel) > 200 && qBlue(pixel) < 100;
        };
        QVERIFY(isRed(redCorner));
        QVERIFY(!isRed(QPoint(1, 1) - redCorner));
    }

    void aTransparentPictureKeepsItsAlphaPremultiplied()
    {
        QImage source(QSize(64, 32), QImage::Format_ARGB32);
        source.fill(Qt::transparent);
        QPainter(&source).fillRect(32, 0, 32, 32, QColor(255, 0, 0, 128));
        const QString png = at("alpha.png"), webp = at("alpha.webp");
        QVERIFY(source.save(png));
        QString why;
        QVERIFY2(PictureFixtures::runVips({"copy", png, webp + "[lossless]"}, &why),
                 qPrintable(why));
        const QImage picture = PictureDecoder::decodeToFit(webp, QSize(64, 64));
        QCOMPARE(picture.size(), QSize(64, 32));
        QCOMPARE(picture.format(), QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(picture.pixelColor(8, 16).alpha(), 0);
        const QColor half = picture.pixelColor(48, 16); // straight again
        QVERIFY(qAbs(half.red() - 255) <= 4 && qAbs(half.alpha() - 128) <= 2);
    }

    void anUndecodablePageFailsAndTheRestGoOn()
    {
        const QString bad = at("bad.jpg");
        QVERIFY(PreviewFixtures::writeFile(bad, "not a picture"));
        Pager pager;
        pager.setPaths({bad, m_pictures.first()}, 0);
        QTRY_VERIFY(pager.hasFailedAt(0));
        QTRY_VERIFY(!pager.pictureAt(1).isNull());
    }

    void pdfPagesAreRenderedAtTheAskedSize()
    {
        const QString pdf = at("paper.pdf");
        QVERIFY(PreviewFixtures::writePdf(pdf, 3));
        PdfDocumentPreview document;
        document.load(pdf);
        // Opened on the document queue: nothing is known when load returns.
        QVERIFY(!document.isLoaded());
        QCOMPARE(document.pageCount(), 0);
        QTRY_VERIFY(document.isLoaded());
        QCOMPARE(document.errorText(), QString());
        QCOMPARE(document.pageCount(), 3);
        QCOMPARE(document.pagePointSize(1).toSize(), QSize(595, 842));
        QCOMPARE(document.indicatorText(), QStringLiteral("1 of 3"));
        document.setShownPage(2);
        QCOMPARE(document.indicatorText(), QStringLiteral("3 of 3"));
        QSignalSpy rendered(&document, &PdfDocumentPreview::pageRendered);
        document.requestPage(1, QSize(119, 168));
        document.requestPage(7, QSize(119, 168)); // no such page: nothing
        QTRY_COMPARE(rendered.size(), 1);
        QCOMPARE(rendered.at(0).at(0).toInt(), 1);
        const QImage image = rendered.at(0).at(2).value<QImage>();
        QCOMPARE(image.size(), QSize(119, 168));
        // The page number is drawn dark on white.
        bool dark = false;
        for (int y = 0; y < image.height() && !dark; ++y)
            for (int x = 0; x < image.width() && !dark; ++x)
                dark = qGray(image.pixel(x, y)) < 80;
        QVERIFY(dark);
    }

    void theSizesOfALongDocumentFollowItsFirstPages()
    {
        const QString pdf = at("long.pdf");
        QVERIFY(PreviewFixtures::writePdf(pdf, 120, 100));
        PdfDocumentPreview document;
        document.load(pdf);
        QTRY_VERIFY(document.isLoaded());
        QCOMPARE(document.pageCount(), 120);
        // Measured as pages are rendered: until then a far page is as large as the first.
        QCOMPARE(document.pagePointSize(110).toSize(), QSize(595, 842));
        QSignalSpy rendered(&document, &PdfDocumentPreview::pageRendered);
        for (int page = 0; page < 2; ++page)
            document.requestPage(page, QSize(60, 85));
        QTRY_COMPARE(rendered.size(), 2);
        QTRY_COMPARE(document.pagePointSize(110).toSize(), QSize(842, 595));
        QCOMPARE(document.pagePointSize(99).toSize(), QSize(595, 842));
        QCOMPARE(document.pagePointSize(100).toSize(), QSize(842, 595));
        QCOMPARE(document.pagePointSize(120), QSizeF());
    }

    void pagesOfAReplacedDocumentAreDropped()
    {
        const QString first = at("first.pdf"), second = at("second.pdf");
        QVERIFY(PreviewFixtures::writePdf(first, 4));
        QVERIFY(PreviewFixtures::writePdf(second, 1));
        PdfDocumentPreview document;
        QSignalSpy rendered(&document, &PdfDocumentPreview::pageRendered);
        document.load(first);
        QTRY_VERIFY(document.isLoaded());
        for (int page = 0; page < 4; ++page)
            document.requestPage(page, QSize(300, 424));
        document.load(second);
        QTRY_VERIFY(document.isLoaded());
        document.requestPage(0, QSize(30, 42));
        QTRY_COMPARE(rendered.size(), 1);
        QCOMPARE(rendered.at(0).at(1).toSize(), QSize(30, 42));
        document.close();
        QCOMPARE(document.pageCount(), 0);
    }

    void aDamagedPdfSaysSo()
    {
        const QString pdf = at("damaged.pdf");
        QVERIFY(PreviewFixtures::writeFile(pdf, "%PDF-1.4\nnothing more"));
        PdfDocumentPreview document;
        document.load(pdf);
        QTRY_VERIFY(document.isLoaded());
        QVERIFY(!document.errorText().isEmpty());
        QCOMPARE(document.pageCount(), 0);
        QCOMPARE(document.indicatorText(), QString());
    }

    void itemsArePagedAndShownByKind()
    {
        const QString pdf = at("paper.pdf"), text = at("notes.txt"), markdown = at("notes.md");
        QVERIFY(PreviewFixtures::writePdf(pdf, 2));
        QVERIFY(PreviewFixtures::writeFile(text, "one\r\ntwo\n" + QByteArray(4500, 'x')));
        QVERIFY(PreviewFixtures::writeFile(markdown, "# Heading\n\ntext\n"));
        ListDataSource source;
        source.items = {m_pictures.first(), pdf, text, markdown};
        FilePreviewController previewer;
        previewer.setDataSource(&source);
        previewer.pictures()->setPixelSize(QSize(100, 100));
        previewer.setCurrentPreviewItemIndex(FilePreviewController::notFound);
        previewer.reloadData();
        previewer.refreshCurrentPreviewItem();
        QCOMPARE(previewer.count(), 4);
        QCOMPARE(previewer.currentPreviewItemIndex(), 0); // not found shows the first
        QCOMPARE(previewer.currentKind(), PreviewKinds::Kind::Picture);
        QCOMPARE(previewer.indicatorText(), QStringLiteral("1 of 4"));
        QTRY_VERIFY(previewer.isCurrentItemShown());

        previewer.showPreviousItem(); // nothing before the first
        QCOMPARE(previewer.currentPreviewItemIndex(), 0);
        previewer.showNextItem();
        QCOMPARE(previewer.currentKind(), PreviewKinds::Kind::Pdf);
        QTRY_COMPARE(previewer.document()->pageCount(), 2);
        QVERIFY(!previewer.isCurrentItemShown()); // until a page is drawn
        previewer.document()->requestPage(0, QSize(60, 85));
        QTRY_VERIFY(previewer.isCurrentItemShown());

        previewer.pagedTo(2);
        QCOMPARE(previewer.currentKind(), PreviewKinds::Kind::Text);
        QCOMPARE(previewer.document()->pageCount(), 0);
        QTRY_VERIFY(previewer.text()->isLoaded());
        QVERIFY(previewer.isCurrentItemShown());
        // Lines without their ends; a long line as rows a list can lay out one by one.
        const QStringList rows = previewer.text()->lineList();
        QCOMPARE(rows.mid(0, 2), (QStringList{"one", "two"}));
        QCOMPARE(rows.size(), 2 + 3);
        QCOMPARE(rows.at(2).size(), TextPreview::longestRow);
        QCOMPARE(previewer.text()->omittedText(), QString());

        previewer.showNextItem();
        QCOMPARE(previewer.currentKind(), PreviewKinds::Kind::Markdown);
        QTRY_VERIFY(previewer.text()->isLoaded());
        QVERIFY(previewer.text()->isMarkdown());
        QVERIFY(previewer.text()->html().contains("Heading"));
        QCOMPARE(previewer.indicatorText(), QStringLiteral("4 of 4"));
        previewer.showNextItem(); // nothing after the last
        QCOMPARE(previewer.currentPreviewItemIndex(), 3);
    }

    void aLargeTextShowsItsFirstMebibyteAndSaysSo()
    {
        const QString log = at("big.log");
        QByteArray line("2026-12-07 12:00:00 something happened\n");
        QByteArray data;
        while (data.size() < 3 * 1024 * 1024)
            data += line;
        QVERIFY(PreviewFixtures::writeFile(log, data));
        TextPreview text;
        text.load(log, false);
        QTRY_VERIFY(text.isLoaded());
        QCOMPARE(text.lineList().first(), QString::fromLatin1(line.chopped(1)));
        QVERIFY(text.lineList().size() < 1024 * 1024 / line.size() + 2);
        QVERIFY(text.omittedText().startsWith("The rest of the file ("));
        QVERIFY(text.omittedText().endsWith(") is not shown."));
    }
};

QTEST_MAIN(TestPreviewer)
#include "tst_previewer.moc"
