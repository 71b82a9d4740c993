// The previewer without a window: pictures decoded ahead and dropped behind, at full resolution
// on demand and upright by their orientation tag; PDF pages rendered; the items paged by kind.
#include "FilePreviewController.h"
#include "PreviewFixtures.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

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
        PicturePager pager;
        pager.setPixelSize(QSize(200, 200));
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
        PicturePager pager;
        pager.setPixelSize(QSize(200, 200));
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
        PicturePager pager;
        pager.setPixelSize(QSize(200, 200));
        pager.setPaths(m_pictures, 0);
        pager.setPixelSize(QSize(400, 400));
        QTRY_COMPARE(pager.pictureAt(0).size(), QSize(400, 300));
        QTRY_COMPARE(pager.pictureAt(1).size(), QSize(400, 300));
    }

    void picturesStandUprightByTheirOrientationTag()
    {
        const QString turned = at("turned.jpg");
        QVERIFY(PreviewFixtures::writeJpeg(turned, QSize(400, 200), 6));
        PicturePager pager;
        pager.setPixelSize(QSize(1000, 1000));
        pager.setPaths({turned}, 0);
        QTRY_VERIFY(!pager.pictureAt(0).isNull());
        const QImage picture = pager.pictureAt(0);
        QCOMPARE(picture.width() * 2, picture.height());
        // The red corner, top-left as stored, is top-right once turned clockwise.
        QVERIFY(qRed(picture.pixel(picture.width() - 5, 5)) > 200);
        QVERIFY(qRed(picture.pixel(5, 5)) < 100);
    }

    void anUndecodablePageFailsAndTheRestGoOn()
    {
        const QString bad = at("bad.jpg");
        QVERIFY(PreviewFixtures::writeFile(bad, "not a picture"));
        PicturePager pager;
        pager.setPixelSize(QSize(100, 100));
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

    void pagesOfAReplacedDocumentAreDropped()
    {
        const QString first = at("first.pdf"), second = at("second.pdf");
        QVERIFY(PreviewFixtures::writePdf(first, 4));
        QVERIFY(PreviewFixtures::writePdf(second, 1));
        PdfDocumentPreview document;
        QSignalSpy rendered(&document, &PdfDocumentPreview::pageRendered);
        document.load(first);
        for (int page = 0; page < 4; ++page)
            document.requestPage(page, QSize(300, 424));
        document.load(second);
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
        QCOMPARE(previewer.document()->pageCount(), 2);
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
