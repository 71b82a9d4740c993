// What the previewer makes of a file: its kind from content and name, the text it reads, and
// the Markdown it renders without reaching outside the file's folder.
#include "FilePreviewController.h"
#include "MarkdownRendering.h"
#include "PictureFixtures.h"
#include "PreviewFixtures.h"
#include "PreviewKind.h"
#include "TextExcerpt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTextBlock>
#include <QUrl>
#include <unistd.h>

using PreviewKinds::Kind;

class TestPreviewKinds : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString at(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void kindsByContentAndName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::newRow("jpeg") << "photo.jpg" << int(Kind::Picture);
        QTest::newRow("png") << "shot.png" << int(Kind::Picture);
        QTest::newRow("webp") << "web.webp" << int(Kind::Picture);
        QTest::newRow("svg") << "drawing.svg" << int(Kind::Picture);
        QTest::newRow("picture named .txt") << "picture.txt" << int(Kind::Picture);
        QTest::newRow("text named .jpg") << "text.jpg" << int(Kind::Text);
        QTest::newRow("pdf") << "paper.pdf" << int(Kind::Pdf);
        QTest::newRow("plain text") << "notes.txt" << int(Kind::Text);
        QTest::newRow("log without extension") << "server-log" << int(Kind::Text);
        QTest::newRow("source") << "main.cpp" << int(Kind::Text);
        QTest::newRow("html is text") << "page.html" << int(Kind::Text);
        QTest::newRow("markdown") << "readme.md" << int(Kind::Markdown);
        QTest::newRow("binary named .txt") << "binary.txt" << int(Kind::None);
        QTest::newRow("audio") << "song.mp3" << int(Kind::None);
        QTest::newRow("office document") << "report.docx" << int(Kind::None);
        QTest::newRow("empty") << "empty.txt" << int(Kind::None);
        QTest::newRow("folder") << "folder" << int(Kind::None);
        QTest::newRow("missing") << "missing.txt" << int(Kind::None);
    }

    void kindsByContentAndName()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        const QString path = at(name);
        QString why;
        QByteArray binary;
        for (int i = 0; i < 512; ++i)
            binary.append(char(i * 7));
        if (name == "photo.jpg" || name == "picture.txt") {
            QVERIFY(PreviewFixtures::writeJpeg(path, QSize(40, 30)));
        } else if (name == "shot.png" || name == "web.webp") {
            QVERIFY2(PictureFixtures::writePicture(path, QSize(40, 30), Qt::red, &why), qPrintable(why));
        } else if (name == "drawing.svg") {
            QVERIFY(PreviewFixtures::writeFile(path, "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"/>"));
        } else if (name == "paper.pdf") {
            QVERIFY(PreviewFixtures::writePdf(path, 1));
        } else if (name == "page.html") {
            QVERIFY(PreviewFixtures::writeFile(path, "<!DOCTYPE html><html><body>hi</body></html>"));
        } else if (name == "binary.txt" || name == "song.mp3") {
            QVERIFY(PreviewFixtures::writeFile(path, binary));
        } else if (name == "report.docx") {
            QVERIFY(PreviewFixtures::writeFile(path, QByteArray("PK\x03\x04", 4) + binary));
        } else if (name == "empty.txt") {
            QVERIFY(PreviewFixtures::writeFile(path, {}));
        } else if (name == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else if (name != "missing.txt") {
            QVERIFY(PreviewFixtures::writeFile(path, "# Title\nint main() { return 0; }\n"));
        }
        QCOMPARE(int(PreviewKinds::kindOfFile(path)), kind);
        QCOMPARE(FilePreviewController::canPreviewItem(path), kind != int(Kind::None));
    }

    void anUnreadableFileIsNotPreviewed()
    {
        if (geteuid() == 0)
            QSKIP("root reads files without read permission");
        const QString path = at("locked.txt");
        QVERIFY(PreviewFixtures::writeFile(path, "secret"));
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        QCOMPARE(PreviewKinds::kindOfFile(path), Kind::None);
        QVERIFY(TextExcerpt::read(path).error.isSet());
    }

    void textIsCutAtTheLimitBetweenCharacters()
    {
        // "é" is two bytes; the limit falls between them.
        const QString path = at("cut.txt");
        QVERIFY(PreviewFixtures::writeFile(path, QByteArray("abcd") + "\xC3\xA9" + "rest"));
        const TextExcerpt excerpt = TextExcerpt::read(path, 5);
        QCOMPARE(excerpt.text, QStringLiteral("abcd"));
        QCOMPARE(excerpt.omittedBytes, 5);
        QVERIFY(!excerpt.error.isSet());
        QCOMPARE(TextExcerpt::read(path).text, QStringLiteral("abcd\u00E9rest"));
        QCOMPARE(TextExcerpt::read(path).omittedBytes, 0);
    }

    void invalidUtf8BecomesReplacementCharacters()
    {
        const QString path = at("broken.txt");
        QVERIFY(PreviewFixtures::writeFile(path, QByteArray("ok \xFF\xFE\xC3 end")));
        const QString text = TextExcerpt::read(path).text;
        QVERIFY(text.startsWith(QStringLiteral("ok ")));
        QVERIFY(text.endsWith(QStringLiteral(" end")));
        QVERIFY(text.contains(QChar(QChar::ReplacementCharacter)));
    }

    void utf16WithAByteOrderMarkIsDecoded()
    {
        const QString path = at("wide.txt");
        QByteArray data("\xFF\xFE", 2);
        for (QChar c : QStringLiteral("Grüße"))
            data.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        QVERIFY(PreviewFixtures::writeFile(path, data));
        QCOMPARE(TextExcerpt::read(path).text, QStringLiteral("Grüße"));
    }

    void markdownPicturesStayInsideTheFolder()
    {
        const QString folder = at("notes");
        QVERIFY(PreviewFixtures::writeJpeg(folder + "/inside.jpg", QSize(8, 8)));
        QVERIFY(PreviewFixtures::writeJpeg(at("outside.jpg"), QSize(8, 8)));
        QVERIFY(QFile::link(at("outside.jpg"), folder + "/link.jpg"));
        const QString inside = QUrl::fromLocalFile(QFileInfo(folder + "/inside.jpg").canonicalFilePath()).toString();
        using MarkdownRendering::localPictureUrl;
        QCOMPARE(localPictureUrl("inside.jpg", folder), inside);
        QCOMPARE(localPictureUrl("./inside.jpg", folder), inside);
        QCOMPARE(localPictureUrl(inside, folder), inside);
        QCOMPARE(localPictureUrl("../outside.jpg", folder), QString());
        QCOMPARE(localPictureUrl(at("outside.jpg"), folder), QString());
        QCOMPARE(localPictureUrl("link.jpg", folder), QString());
        QCOMPARE(localPictureUrl("missing.jpg", folder), QString());
        QCOMPARE(localPictureUrl("http://127.0.0.1:9/x.png", folder), QString());
        QCOMPARE(localPictureUrl("//example.org/x.png", folder), QString());

        const QString html = MarkdownRendering::toLocalHtml(
            "# Title\n\n![in](inside.jpg) ![remote](http://127.0.0.1:9/x.png) "
            "![out](../outside.jpg)\n\n<img src=\"http://127.0.0.1:9/raw.png\"> <b>bold</b>\n\n"
            "<div align=\"center\">\n  <!-- a comment -->\n</div>\n\n"
            "Code keeps `<br>` and\n\n    <p>indented</p>\n",
            folder);
        QVERIFY(html.contains(inside));
        QCOMPARE(html.count(MarkdownRendering::brokenPictureUrl), 2);
        // Raw HTML is left out: neither drawn (no picture of it, no bold) nor shown as text;
        // the words between tags stay, a paragraph of tags alone goes, code keeps its tags.
        QTextDocument shown;
        shown.setHtml(html);
        const QString text = shown.toPlainText();
        QVERIFY(!html.contains("<img src=\"http"));
        QVERIFY(!html.contains("src=\"../"));
        QVERIFY(!html.contains("<b>"));
        for (const char *gone : {"&lt;b&gt;", "&lt;img", "&lt;div", "comment", "raw.png"})
            QVERIFY2(!html.contains(gone), gone);
        QVERIFY(text.contains("Title"));
        QVERIFY(text.contains("bold"));
        QVERIFY(text.contains("<br>"));
        QVERIFY(text.contains("<p>indented</p>"));
        QCOMPARE(shown.blockCount(), 5); // title, pictures, bold, code line, indented code

        // A local picture comes at its own size and is scaled down to the view's width.
        QVERIFY(html.contains("width=\"8\""));
        QVERIFY(PreviewFixtures::writeJpeg(folder + "/wide.jpg", QSize(1200, 300)));
        QTextDocument wide;
        wide.setHtml(MarkdownRendering::toLocalHtml("![wide](wide.jpg)", folder));
        const auto pictureSize = [&wide] {
            const auto format = wide.begin().begin().fragment().charFormat().toImageFormat();
            return QSizeF(format.width(), format.height());
        };
        QCOMPARE(pictureSize(), QSizeF(1200, 300));
        MarkdownRendering::fitPictures(&wide, 400);
        QCOMPARE(pictureSize(), QSizeF(400, 100));
        MarkdownRendering::fitPictures(&wide, 2000);
        QCOMPARE(pictureSize(), QSizeF(1200, 300));
    }
};

QTEST_MAIN(TestPreviewKinds)
#include "tst_previewkinds.moc"
