// The preview screen's controller without a window: the pictures it pages through (listed off
// the main thread), its data source in both modes, the properties sheet's values and picture, and
// renaming.
#include "AppDirectories.h"
#include "ByteCountFormatter.h"
#include "DateTimeFormatter.h"
#include "LocalFilePreviewViewController.h"
#include "PictureFixtures.h"
#include "PreviewFixtures.h"
#include "SimpleValueChangedDelegate.h"
#include "Translations.h"
#include "Utils.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {

class CountingDelegate : public QObject, public SimpleValueChangedDelegate {
    Q_OBJECT
    Q_INTERFACES(SimpleValueChangedDelegate)
public:
    int told = 0;
    void didChangedValue(ViewController *, const QVariant &value) override
    {
        QVERIFY(!value.isValid());
        ++told;
    }
};

} // namespace

class TestPreviewScreen : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QString home() const { return Utils::documentsPath(); }
    QString at(const QString &relative) const { return home() + u'/' + relative; }

    // A screen for `path` whose view has loaded and appeared, as a push would make it.
    std::unique_ptr<LocalFilePreviewViewController> shown(const QString &path, bool onlyProperties = false)
    {
        auto screen = std::make_unique<LocalFilePreviewViewController>();
        screen->setFilePath(path);
        screen->setViewSize(QSizeF(320, 240)); // as a stack gives its page's size
        screen->setOnlyShowFileProperty(onlyProperties);
        screen->beginAppearanceTransition(true, false);
        screen->endAppearanceTransition();
        return screen;
    }

    QStringList previewerItems(LocalFilePreviewViewController &screen)
    {
        QStringList items;
        for (int i = 0; i < screen.numberOfPreviewItems(screen.previewController()); ++i)
            items.append(screen.previewItemAtIndex(screen.previewController(), i));
        return items;
    }

private slots:
    void initTestCase()
    {
        AppDirectories::useRoot(m_root.path());
        QVERIFY(QDir().mkpath(home()));
        Translations::install(*QCoreApplication::instance(), QLocale(QLocale::English));
    }

    void picturesPageNewestFirstFromTheOpenedOne()
    {
        const QDateTime base = QDateTime::currentDateTime().addDays(-2);
        const QStringList names{"old.jpg", "middle.GIF", "new.jpeg", ".hidden.jpg", "notes.txt",
                                "shot.png", "Sub/inner.jpg"};
        for (int i = 0; i < names.size(); ++i) {
            // The name alone decides what is paged through.
            const QString path = at("Photos/" + names.at(i));
            QVERIFY(PreviewFixtures::writeJpeg(path, QSize(16, 12)));
            QVERIFY(PreviewFixtures::setModified(path, base.addSecs(60 * i)));
        }
        auto screen = shown(at("Photos/middle.GIF"));
        const QStringList pictures{at("Photos/new.jpeg"), at("Photos/middle.GIF"), at("Photos/old.jpg")};
        QCOMPARE(LocalFilePreviewViewController::getAllPhotoFiles(at("Photos/middle.GIF")),
                 pictures);
        // The folder is listed on a queue: the previewer is in front at once, its items and
        // the picture (decoded meanwhile) come later.
        QVERIFY(screen->sheet()->isHidden());
        QCOMPARE(screen->previewController()->count(), 0);
        QTRY_COMPARE(screen->previewController()->count(), 3);
        QCOMPARE(previewerItems(*screen), pictures);
        QTRY_VERIFY(screen->isContentShown());
        QCOMPARE(screen->previewController()->currentPreviewItemIndex(), 1);
        QVERIFY(screen->sheet()->isHidden());
        QCOMPARE(screen->title(), QStringLiteral("middle.GIF"));
        QCOMPARE(screen->backButtonTitle(), QStringLiteral(""));
        QVERIFY(!screen->backButtonTitle().isNull());

        // A PNG is not a picture kind: shown alone, the folder's pictures not paged.
        auto png = shown(at("Photos/shot.png"));
        QCOMPARE(previewerItems(*png), QStringList{at("Photos/shot.png")});
        QVERIFY(png->sheet()->isHidden());
        QCOMPARE(png->previewController()->currentPreviewItemIndex(), 0);

        // In properties-only mode a picture is its one item, behind the sheet.
        auto properties = shown(at("Photos/old.jpg"), true);
        QCOMPARE(previewerItems(*properties), QStringList{at("Photos/old.jpg")});
        QVERIFY(!properties->sheet()->isHidden());
        QCOMPARE(properties->previewController()->count(), 0);
    }

    void aLonePictureIsItemZero()
    {
        QVERIFY(PreviewFixtures::writeJpeg(at("Lone/only.jpg"), QSize(10, 10)));
        auto screen = shown(at("Lone/only.jpg"));
        QTRY_COMPARE(previewerItems(*screen), QStringList{at("Lone/only.jpg")});
        QCOMPARE(screen->previewController()->currentPreviewItemIndex(), 0);
    }

    void aTextIsTheOneItemWhateverTheIndex()
    {
        QVERIFY(PreviewFixtures::writeFile(at("Docs/a.txt"), "hello"));
        QVERIFY(PreviewFixtures::writeJpeg(at("Docs/b.jpg"), QSize(10, 10)));
        auto screen = shown(at("Docs/a.txt"));
        QVERIFY(screen->sheet()->isHidden());
        QCOMPARE(screen->numberOfPreviewItems(screen->previewController()), 1);
        QCOMPARE(screen->previewItemAtIndex(screen->previewController(), 7), at("Docs/a.txt"));
        QCOMPARE(screen->previewController()->currentKind(), PreviewKinds::Kind::Text);
        QTRY_VERIFY(screen->isContentShown());
    }

    void whatThePreviewerCannotShowKeepsTheSheet()
    {
        QVERIFY(PreviewFixtures::writeFile(at("Docs/tool.bin"), QByteArray(64, '\0')));
        auto screen = shown(at("Docs/tool.bin"));
        QVERIFY(!screen->sheet()->isHidden());
        QCOMPARE(screen->previewController()->count(), 0);
        QCOMPARE(screen->sheet()->name(), QStringLiteral("tool.bin"));
    }

    void theSheetShowsAFile()
    {
        const QString path = at("Docs/report.txt");
        QVERIFY(PreviewFixtures::writeFile(path, QByteArray(1234, 'x')));
        auto screen = shown(path, true);
        const PropertiesSheet &sheet = *screen->sheet();
        const QFileInfo info(path);
        QCOMPARE(sheet.name(), QStringLiteral("report.txt"));
        QCOMPARE(sheet.sizeText(), Utils::sharedFileSizeFormatter().stringFromByteCount(1234));
        QCOMPARE(sheet.modifiedText(), Utils::sharedDateFormatter().stringFromDate(info.lastModified()));
        QCOMPARE(sheet.createdText(), info.birthTime().isValid()
                                          ? Utils::sharedDateFormatter().stringFromDate(info.birthTime())
                                          : QString());
        QCOMPARE(sheet.sizeCaption(), QStringLiteral("Size"));
        QCOMPARE(sheet.modifiedCaption(), QStringLiteral("Modified"));
        QCOMPARE(sheet.createdCaption(), QStringLiteral("Created"));
        QCOMPARE(screen->title(), QStringLiteral("report.txt"));
        // Read again on every appearance.
        QVERIFY(PreviewFixtures::writeFile(path, QByteArray(10, 'x')));
        screen->beginAppearanceTransition(false, false);
        screen->endAppearanceTransition();
        screen->beginAppearanceTransition(true, false);
        screen->endAppearanceTransition();
        QCOMPARE(sheet.sizeText(), Utils::sharedFileSizeFormatter().stringFromByteCount(10));
    }

    void aFolderShowsTheSizeOfItsOwnEntry()
    {
        const QString folder = at("Big");
        QVERIFY(PreviewFixtures::writeFile(folder + "/data.bin", QByteArray(100000, 'x')));
        struct stat entry {};
        QCOMPARE(::stat(QFile::encodeName(folder).constData(), &entry), 0);
        auto screen = shown(folder, true);
        QCOMPARE(screen->sheet()->sizeText(),
                 Utils::sharedFileSizeFormatter().stringFromByteCount(entry.st_size));
        QVERIFY(!screen->sheet()->modifiedText().isEmpty());
    }

    void aGoneItemShowsZeroBytesAndNoDates()
    {
        auto screen = shown(at("Docs/gone.txt"), true);
        QCOMPARE(screen->sheet()->sizeText(), QStringLiteral("0 bytes"));
        QCOMPARE(screen->sheet()->modifiedText(), QString());
        QCOMPARE(screen->sheet()->createdText(), QString());
    }

    void theSheetPictureFollowsTheKind()
    {
        QVERIFY(PreviewFixtures::writeFile(at("Kinds/notes.txt"), "x"));
        QVERIFY(PreviewFixtures::writeFile(at("Kinds/song.mp3"), "x"));
        QVERIFY(PreviewFixtures::writeJpeg(at("Kinds/photo.jpg"), QSize(600, 300)));
        auto text = shown(at("Kinds/notes.txt"), true);
        const QImage badge = text->sheet()->previewImageView()->image();
        QCOMPARE(badge.deviceIndependentSize().toSize(), QSize(300, 300));
        QCOMPARE(badge.pixelColor(2, 2), QColor(0xfd, 0xb7, 0x6b));

        auto media = shown(at("Kinds/song.mp3"), true);
        QVERIFY(media->sheet()->previewImageView()->image().isNull());
        QVERIFY(media->isContentShown());

        auto picture = shown(at("Kinds/photo.jpg"), true);
        QVERIFY(picture->sheet()->previewImageView()->image().isNull()); // it comes later
        QVERIFY(!picture->isContentShown());
        QTRY_VERIFY(!picture->sheet()->previewImageView()->image().isNull());
        QVERIFY(picture->isContentShown());
        const QImage thumbnail = picture->sheet()->previewImageView()->image();
        QCOMPARE(thumbnail.deviceIndependentSize().toSize(), QSize(300, 300));
        // Fitted and centred: a 2:1 picture leaves the top and bottom quarters clear.
        const QRect opaque = PictureFixtures::opaqueBounds(thumbnail);
        QVERIFY(qAbs(opaque.width() - 2 * opaque.height()) <= 2);
        QVERIFY(qAbs(opaque.center().y() - thumbnail.height() / 2) <= 1);
    }

    void renameOutcomes()
    {
        QVERIFY(PreviewFixtures::writeFile(at("Ren/first.txt"), "1"));
        QVERIFY(PreviewFixtures::writeFile(at("Ren/taken.txt"), "2"));
        auto screen = shown(at("Ren/first.txt"), true);
        CountingDelegate delegate;
        screen->setSimpleValueChangedDelegate(&delegate);
        QSignalSpy resigned(screen.get(), &LocalFilePreviewViewController::nameFieldResignRequested);

        const QString refusals[] = {"taken.txt", "", "a/b", "..", "."};
        int attempts = 0;
        for (const QString &name : refusals) {
            QVERIFY(screen->textFieldShouldReturn(name));
            ++attempts;
            QCOMPARE(delegate.told, attempts);
            QVERIFY2(screen->textNotice()->isVisible(), qPrintable(name));
            QVERIFY(!screen->textNotice()->text().isEmpty());
            QCOMPARE(resigned.size(), 0); // the field stays in use
            QVERIFY(QFile::exists(at("Ren/first.txt")));
            QCOMPARE(screen->filePath(), at("Ren/first.txt"));
        }
        QCOMPARE(QFile(at("Ren/taken.txt")).size(), 1);
        screen->textNotice()->hide();

        QVERIFY(screen->textFieldShouldReturn("second.txt"));
        QCOMPARE(delegate.told, ++attempts);
        QCOMPARE(resigned.size(), 1);
        QVERIFY(!screen->textNotice()->isVisible());
        QVERIFY(!QFile::exists(at("Ren/first.txt")));
        QVERIFY(QFile::exists(at("Ren/second.txt")));
        // The screen follows the item: title, path, and a further rename from the new name.
        QCOMPARE(screen->filePath(), at("Ren/second.txt"));
        QCOMPARE(screen->title(), QStringLiteral("second.txt"));
        QVERIFY(screen->textFieldShouldReturn("third.txt"));
        QVERIFY(QFile::exists(at("Ren/third.txt")));
        QCOMPARE(resigned.size(), 2);
        QCOMPARE(delegate.told, ++attempts);

        // A delegate that is gone is not told.
        screen->setSimpleValueChangedDelegate(nullptr);
        QVERIFY(screen->textFieldShouldReturn("fourth.txt"));
        QCOMPARE(delegate.told, attempts);
    }

    void theKeyboardRaisesTheSheetAndLetsItDown()
    {
        PropertiesSheet sheet;
        sheet.keyboardWillChange(216, 511);
        QCOMPARE(sheet.contentOffsetY(), 511 - 216 - 104);
        sheet.keyboardWillChange(0, 320);
        QCOMPARE(sheet.contentOffsetY(), 0);
        sheet.keyboardWillChange(300, 200); // already clear: stays at rest
        QCOMPARE(sheet.contentOffsetY(), 0);
    }
};

QTEST_MAIN(TestPreviewScreen)
#include "tst_previewscreen.moc"
