// Copy, cut, paste, duplicate and opening with other applications, on real folders through
// Qt's real clipboard: the clipboard's forms, the disk and the screen checked after each.
#include "ListingScreenFixture.h"
#include "FileClipboard.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

QByteArray clipboardFormat(const QString &format)
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data ? data->data(format) : QByteArray();
}

} // namespace

class TestCopying : public QObject {
    Q_OBJECT
    QTemporaryDir m_root;
    QList<QUrl> m_opened;
    QString url(const QString &relative) const
    {
        return QUrl::fromLocalFile(home() + relative).toString();
    }

public slots:
    void open(const QUrl &url) { m_opened.append(url); }

private slots:
    void initTestCase()
    {
        useTestRoot(m_root);
        QDesktopServices::setUrlHandler("file", this, "open");
    }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler("file"); }

    void init()
    {
        freshHome();
        QVERIFY(QDir().mkpath(home() + "/Dest"));
        QGuiApplication::clipboard()->clear();
        m_opened.clear();
    }

    void copyThenPasteKeepsTheFolderWholeAndTheClipboardSpeaksForOthers()
    {
        makeFile(home() + "/Album/a.txt", "alpha");
        makeFile(home() + "/Album/inner/b.txt", "beta");
        QCOMPARE(::chmod(QFile::encodeName(home() + "/Album/inner/b.txt").constData(), 0600), 0);
        const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(home() + "/Album/a.txt").constData(), old, 0), 0);
        makeFile(home() + "/notes.txt", "n");
        Screen root("/");
        QVERIFY(!root.screen->pasteBarButtonItem()->isEnabled());
        root.menuAction("Album", &LocalStorageViewController::copyItemAction);
        QCOMPARE(root.screen->textNotice()->text(),
                 QStringLiteral("“Album” is copied: paste it into any folder."));
        QVERIFY(root.screen->pasteBarButtonItem()->isEnabled());
        QCOMPARE(clipboardFormat("x-special/gnome-copied-files"), ("copy\n" + url("/Album")).toUtf8());
        QCOMPARE(clipboardFormat("text/uri-list").trimmed(), url("/Album").toUtf8());

        Screen dest("/Dest");
        dest.screen->pasteKeyPressed();
        QCOMPARE(ProgressOverlay::shared()->status(), QStringLiteral("Copying..."));
        dest.jobDone();
        dest.listed();
        QCOMPARE(dest.names(), QStringList{"Album"});
        QCOMPARE(namesIn(home() + "/Dest"), QStringList{"Album"}); // no partial copy left
        QCOMPARE(readFile(home() + "/Dest/Album/inner/b.txt"), QStringLiteral("beta"));
        QCOMPARE(QFileInfo(home() + "/Dest/Album/inner/b.txt").permissions(),
                 QFileInfo(home() + "/Album/inner/b.txt").permissions());
        QCOMPARE(QFileInfo(home() + "/Dest/Album/a.txt").lastModified(),
                 QFileInfo(home() + "/Album/a.txt").lastModified());
        QVERIFY(QFileInfo::exists(home() + "/Album/a.txt")); // a copy: the original stays

        // The clipboard still holds it: a second paste asks about the namesake.
        dest.screen->paste();
        QTRY_VERIFY(dest.alert());
        QCOMPARE(dest.alert()->title(), QStringLiteral("“Album” already exists in “Dest”."));
        dest.pick("Keep Both");
        dest.jobDone();
        dest.listed();
        QCOMPARE(dest.names(), (QStringList{"Album", "Album 2"}));
        makeFile(home() + "/Dest/Album/a.txt", "changed");
        dest.screen->paste();
        QTRY_VERIFY(dest.alert());
        dest.pick("Replace");
        dest.jobDone();
        QCOMPARE(readFile(home() + "/Dest/Album/a.txt"), QStringLiteral("alpha"));
        QCOMPARE(trashed().size(), 1); // the one replaced
    }

    void anotherFileManagersClipboardPastes_data()
    {
        QTest::addColumn<QStringList>("formats"); // format=value, "%1" the file's URL
        QTest::addColumn<bool>("moves");
        QTest::newRow("gnome copy") << QStringList{"x-special/gnome-copied-files=copy\n%1\n"} << false;
        QTest::newRow("gnome cut") << QStringList{"x-special/gnome-copied-files=cut\n%1"} << true;
        QTest::newRow("uri list") << QStringList{"text/uri-list=%1\r\n"} << false;
        QTest::newRow("kde cut")
            << QStringList{"text/uri-list=%1\r\n", "application/x-kde-cutselection=1"} << true;
    }
    void anotherFileManagersClipboardPastes()
    {
        QFETCH(QStringList, formats);
        QFETCH(bool, moves);
        makeFile(home() + "/song name.mp3", "la");
        auto *data = new QMimeData;
        for (const QString &format : formats) {
            const auto split = format.indexOf(u'=');
            QString value = format.mid(split + 1);
            data->setData(format.left(split), value.replace("%1", url("/song name.mp3")).toUtf8());
        }
        QGuiApplication::clipboard()->setMimeData(data);
        Screen dest("/Dest");
        QVERIFY(dest.screen->pasteBarButtonItem()->isEnabled());
        dest.screen->pasteBarButtonItem()->trigger();
        dest.jobDone();
        QCOMPARE(readFile(home() + "/Dest/song name.mp3"), QStringLiteral("la"));
        QCOMPARE(QFileInfo::exists(home() + "/song name.mp3"), !moves);
        // After a cut's items have moved the clipboard is emptied; a copy stays to paste again.
        QCOMPARE(FileClipboard::contents().has_value(), !moves);
        QCOMPARE(dest.screen->pasteBarButtonItem()->isEnabled(), !moves);
    }

    void keysCopyAndCutTheRowOrTheSelection()
    {
        makeFile(home() + "/a.txt");
        makeFile(home() + "/b.txt");
        Screen root("/");
        const int rowOfA = root.screen->tableView()->rows()->flatRowOf(root.indexPathOf("a.txt"));
        root.screen->copyKeyPressed(true, rowOfA);
        QCOMPARE(clipboardFormat("x-special/gnome-copied-files"), ("cut\n" + url("/a.txt")).toUtf8());
        QCOMPARE(root.screen->textNotice()->text(), QStringLiteral("“a.txt” will move where you paste it."));
        root.select({"a.txt", "b.txt"});
        root.screen->copyBarButtonItem()->trigger();
        QVERIFY(!root.screen->isEditing());
        QCOMPARE(FileClipboard::contents()->paths.size(), 2);
        QVERIFY(!FileClipboard::contents()->cut);
        QCOMPARE(root.screen->textNotice()->text(), QStringLiteral("2 items are copied: paste them into any folder."));
        // Copy is in the toolbar while editing, Paste in its place otherwise.
        QVERIFY(root.screen->toolbarItems().contains(root.screen->pasteBarButtonItem()));
        root.select({"a.txt"});
        QVERIFY(root.screen->toolbarItems().contains(root.screen->copyBarButtonItem()));
        QVERIFY(!root.screen->toolbarItems().contains(root.screen->pasteBarButtonItem()));
        root.screen->copyKeyPressed(true, -1);
        QCOMPARE(FileClipboard::contents()->paths, QStringList{home() + "/a.txt"});
        // A narrow window keeps Paste only while it has work to do, for the touch; Copy is in
        // the row menu.
        root.screen->setViewSize(QSizeF(320, 480));
        QVERIFY(!root.screen->toolbarItems().contains(root.screen->copyBarButtonItem()));
        root.screen->setEditing(false, false);
        QVERIFY(root.screen->toolbarItems().contains(root.screen->pasteBarButtonItem()));
        QVERIFY(!root.screen->toolbarItems().contains(root.screen->compressBarButtonItem()));
        QGuiApplication::clipboard()->clear();
        QVERIFY(!root.screen->toolbarItems().contains(root.screen->pasteBarButtonItem()));
    }

    void duplicateKeepsBothAndAFolderNeverGoesIntoItself()
    {
        makeFile(home() + "/report.pdf", "r");
        makeFile(home() + "/Album/inner/x.txt", "x");
        Screen root("/");
        for (int i = 0; i < 2; ++i) {
            root.menuAction("report.pdf", &LocalStorageViewController::duplicateAction);
            root.jobDone();
        }
        root.menuAction("Album", &LocalStorageViewController::duplicateAction);
        root.jobDone();
        root.listed();
        QCOMPARE(root.names(), (QStringList{"Album", "Album 2", "Dest", "report 2.pdf",
                                            "report 3.pdf", "report.pdf"}));
        QCOMPARE(readFile(home() + "/Album 2/inner/x.txt"), QStringLiteral("x"));

        root.menuAction("Album", &LocalStorageViewController::copyItemAction);
        Screen inner("/Album/inner");
        inner.screen->paste();
        inner.jobDone();
        QCOMPARE(inner.screen->textNotice()->text(),
                 QStringLiteral("“Album” can't be copied into itself. Choose another folder."));
        QCOMPARE(namesIn(home() + "/Album/inner"), QStringList{"x.txt"});
    }

    void aPasteCancelledLeavesNothing()
    {
        for (int i = 0; i < 50; ++i)
            makeFile(home() + QStringLiteral("/Many/%1.bin").arg(i), QByteArray(1 << 20, 'm'));
        Screen root("/");
        root.menuAction("Many", &LocalStorageViewController::copyItemAction);
        Screen dest("/Dest");
        dest.screen->paste();
        QVERIFY(ProgressOverlay::shared()->isCancellable());
        ProgressOverlay::shared()->cancel();
        dest.jobDone();
        QCOMPARE(namesIn(home() + "/Dest"), QStringList{});
        QVERIFY(!dest.screen->textNotice()->isVisible());
        // Nothing on the clipboard: said, nothing done.
        QGuiApplication::clipboard()->setText("just words");
        dest.screen->paste();
        QVERIFY(!ProgressOverlay::shared()->isVisible());
        QCOMPARE(dest.screen->textNotice()->text(),
                 QStringLiteral("There is nothing to paste. Copy or cut some items first."));
    }

    void rowsDragOutAsFilesAndDropOnAFolderToMove()
    {
        makeFile(home() + "/a.txt", "a");
        makeFile(home() + "/b.txt", "b");
        makeFile(home() + "/Dest/b.txt", "old b");
        Screen root("/");
        auto *rows = root.screen->tableView()->rows();
        const auto rowOf = [&](const QString &name) { return rows->flatRowOf(root.indexPathOf(name)); };
        QVariantMap data = root.screen->dragDataForFlatRow(rowOf("a.txt"));
        QCOMPARE(data.value("text/uri-list").toStringList(), QStringList{url("/a.txt")});
        QVERIFY(!root.screen->acceptsDropOnFlatRow(rowOf("a.txt")));
        QVERIFY(root.screen->acceptsDropOnFlatRow(rowOf("Dest")));
        root.select({"a.txt", "b.txt"});
        data = root.screen->dragDataForFlatRow(rowOf("b.txt"));
        QCOMPARE(data.value("text/uri-list").toStringList().size(), 2);

        QList<QUrl> urls;
        for (const QString &entry : data.value("text/uri-list").toStringList())
            urls.append(QUrl(entry));
        urls.append(QUrl::fromLocalFile(home() + "/Dest")); // itself among them: left out
        root.screen->dropOnFlatRow(urls, rowOf("Dest"));
        QTRY_VERIFY(root.alert());
        QCOMPARE(root.alert()->title(), QStringLiteral("“b.txt” already exists in “Dest”."));
        root.pick("Keep Both");
        root.jobDone();
        QVERIFY(!root.screen->isEditing());
        QCOMPARE(namesIn(home() + "/Dest"), (QStringList{"a.txt", "b 2.txt", "b.txt"}));
        QVERIFY(!root.screen->textNotice()->isVisible());
        root.listed();
    }

    void otherApplicationsOpenFilesAndMediaOffersThem()
    {
        makeFile(home() + "/Clip.MP4");
        makeFile(home() + "/notes.txt");
        Screen root("/");
        root.menuAction("notes.txt", &LocalStorageViewController::openWithAction);
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(home() + "/notes.txt")});
        root.screen->openFileNamed("Clip.MP4");
        QCOMPARE(root.stack->viewControllers().size(), 1);
        auto *notice = root.screen->textNotice();
        QCOMPARE(notice->text(), QStringLiteral("“Clip.MP4” can't be shown here."));
        QCOMPARE(notice->actionTitle(0), QStringLiteral("Open"));
        notice->runAction(0);
        QCOMPARE(m_opened.last(), QUrl::fromLocalFile(home() + "/Clip.MP4"));
        // Folders have no such entry.
        const auto *cell = qobject_cast<KPDocumentPickerTableViewCell *>(
            root.screen->cellForRow(root.screen->tableView(), root.indexPathOf("Dest")));
        QStringList titles;
        for (const auto *entry : cell->menuItems())
            titles.append(entry->title());
        QCOMPARE(titles, (QStringList{"Delete", "Rename...", "Move...", "Copy", "Duplicate", "Info..."}));
    }
};

QTEST_MAIN(TestCopying)
#include "tst_copying.moc"
