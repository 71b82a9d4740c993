// Comic book covers made from real zips: the first picture by name order, never an encrypted
// one, and nothing for a book without pictures; served as a row's thumbnail.
#include "AppDirectories.h"
#include "ComicCover.h"
#include "PictureFixtures.h"
#include "Thumbnail.h"
#include "Utils.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestComicCover : public QObject {
    Q_OBJECT
    QTemporaryDir m_root;

    QString at(const QString &relative) const { return Utils::documentsPath() + relative; }

    // Runs zip in the home folder: `arguments` as zip takes them.
    static bool zip(const QStringList &arguments)
    {
        QProcess tool;
        tool.setWorkingDirectory(Utils::documentsPath());
        tool.start(QStringLiteral("zip"), QStringList{"-q"} + arguments);
        return tool.waitForFinished(30000) && tool.exitCode() == 0;
    }

    void page(const QString &relative, QColor color)
    {
        QDir().mkpath(QFileInfo(at(relative)).path());
        QString why;
        QVERIFY2(PictureFixtures::writePicture(at(relative), QSize(60, 90), color, &why),
                 qPrintable(why));
    }

    static QColor middleOf(const QImage &image)
    {
        return image.pixelColor(image.rect().center());
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("zip").isEmpty())
            QSKIP("zip is not installed");
        AppDirectories::useRoot(m_root.path());
        QVERIFY(QDir().mkpath(Utils::documentsPath()));
    }

    void theFirstPictureByNameOrderIsTheCover()
    {
        page("/Book/page10.jpg", Qt::red);
        page("/Book/page2.jpg", Qt::blue);
        QVERIFY(zip({"-r", "book.cbz", "Book"}));
        Error error;
        const QImage cover = ComicCover::decodeToFit(at("/book.cbz"), QSize(40, 40), &error);
        QVERIFY2(!cover.isNull(), qPrintable(error.message));
        QCOMPARE(cover.size(), QSize(27, 40));
        QVERIFY2(middleOf(cover).blue() > 200 && middleOf(cover).red() < 60,
                 qPrintable(middleOf(cover).name()));

        // The row's thumbnail comes from it as a picture's would.
        ImageView view(QSizeF(37, 37));
        QSignalSpy changed(&view, &ImageView::imageChanged);
        Thumbnail::setImageFromFile(&view, at("/book.cbz"), &ComicCover::decodeToFit);
        QVERIFY(changed.wait(30000));
        QVERIFY(middleOf(view.image()).blue() > 200);
    }

    void anEncryptedPageIsPassedOverAndABookWithoutPicturesHasNoCover()
    {
        page("/Locked/a.jpg", Qt::red);
        page("/Locked/b.jpg", Qt::green);
        QVERIFY(zip({"-P", "secret", "locked.cbz", "Locked/a.jpg"}));
        QVERIFY(zip({"locked.cbz", "Locked/b.jpg"}));
        Error error;
        const QImage cover = ComicCover::decodeToFit(at("/locked.cbz"), QSize(40, 40), &error);
        QVERIFY2(!cover.isNull(), qPrintable(error.message));
        QVERIFY(middleOf(cover).green() > 100 && middleOf(cover).red() < 60);

        QFile text(at("/notes.txt"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("no pictures");
        text.close();
        QVERIFY(zip({"words.cbz", "notes.txt"}));
        QVERIFY(ComicCover::decodeToFit(at("/words.cbz"), QSize(40, 40), &error).isNull());
        QCOMPARE(error.message, QStringLiteral("“words.cbz” holds no picture to show."));
    }
};

QTEST_MAIN(TestComicCover)
#include "tst_comiccover.moc"
