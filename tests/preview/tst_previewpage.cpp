// The preview screen in the real shell, on the offscreen platform: opened from the command
// line, drawn by its QML, paged with the keys, renamed through its field, read through the
// accessibility tree, and fetching nothing over the network.
#include "../app/ShellFixtures.h"
#include "LocalFilePreviewViewController.h"
#include "PreviewFixtures.h"

#include <QAccessibleActionInterface>
#include <QQuickItem>
#include <QRegularExpression>
#include <QWheelEvent>
#include <QTcpServer>

using ShellFixtures::activate;
using ShellFixtures::visibleItemNamed;

namespace {

void typeText(QWindow *window, const char *text)
{
    for (; *text; ++text)
        QTest::keyClick(window, *text);
}

// Every frame asked for drawn, and every event that came of it handled.
void drain(QQuickWindow *window)
{
    for (int frame = 0; frame < 2; ++frame) {
        bool swapped = false;
        QObject::connect(window, &QQuickWindow::frameSwapped, window, [&] { swapped = true; },
                         Qt::SingleShotConnection);
        window->update();
        QVERIFY(QTest::qWaitFor([&] { return swapped; }, 5000));
    }
    QCoreApplication::processEvents();
}

// Interfaces of the tree under `interface` that a user can press.
void collectPressable(QAccessibleInterface *interface, QList<QAccessibleInterface *> &pressable)
{
    if (!interface)
        return;
    if (auto *actions = interface->actionInterface();
        actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction()))
        pressable.append(interface);
    for (int i = 0; i < interface->childCount(); ++i)
        collectPressable(interface->child(i), pressable);
}

QStringList accessibleNames(QAccessibleInterface *interface)
{
    QStringList names;
    if (!interface)
        return names;
    names.append(interface->text(QAccessible::Name));
    for (int i = 0; i < interface->childCount(); ++i)
        names += accessibleNames(interface->child(i));
    return names;
}

} // namespace

class TestPreviewPage : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QString at(const QString &relative) const { return home() + u'/' + relative; }

    std::unique_ptr<AppDelegate> launch(const QString &openPath, const QString &infoPath = {},
                                        QSize windowSize = {})
    {
        LaunchOptions options;
        options.openPath = openPath;
        options.infoPath = infoPath;
        if (windowSize.isValid())
            options.windowSize = windowSize;
        return ShellFixtures::launch(options);
    }

    // The preview screen on top once its content shows, or null.
    static LocalFilePreviewViewController *shownPreview(const AppDelegate &app)
    {
        auto *screen = qobject_cast<LocalFilePreviewViewController *>(
            app.navigationController()->topViewController());
        return screen && QTest::qWaitFor([screen] { return screen->isContentShown(); }) ? screen
                                                                                         : nullptr;
    }

private slots:
    void initTestCase()
    {
        useTestRoot(m_root);
        QVERIFY(QDir().mkpath(home()));
    }

    void aPictureOpensAmongItsFolderAndPagesWithTheKeys()
    {
        const QDateTime base = QDateTime::currentDateTime().addDays(-1);
        const QStringList names{"a.jpg", "b.jpg", "c.jpg"};
        for (int i = 0; i < names.size(); ++i) {
            QVERIFY(PreviewFixtures::writeJpeg(at("Photos/" + names.at(i)), QSize(640, 480)));
            QVERIFY(PreviewFixtures::setModified(at("Photos/" + names.at(i)), base.addSecs(i * 60)));
        }
        auto app = launch("/Photos/b.jpg");
        auto *screen = shownPreview(*app);
        QVERIFY(screen);
        QCOMPARE(app->navigationController()->viewControllers().size(), 3);
        QCOMPARE(screen->simpleValueChangedDelegate(),
                 app->navigationController()->viewControllers().at(1));
        auto *pager = visibleItemNamed(app->window(), "picturePager");
        QVERIFY(pager);
        QCOMPARE(pager->property("count").toInt(), 3);
        QTRY_COMPARE(pager->property("currentIndex").toInt(), 1);
        auto *indicator = visibleItemNamed(app->window(), "itemIndicator");
        QVERIFY(indicator);
        QCOMPARE(indicator->property("text").toString(), QStringLiteral("2 of 3"));
        auto *picture = visibleItemNamed(pager, "picture");
        QVERIFY(picture);
        QTRY_VERIFY(!picture->property("pictureSize").toSizeF().isEmpty());

        QCOMPARE(screen->title(), QStringLiteral("b.jpg"));
        QTest::keyClick(app->window(), Qt::Key_Right);
        QCOMPARE(screen->previewController()->currentPreviewItemIndex(), 2);
        QTRY_COMPARE(pager->property("currentIndex").toInt(), 2);
        QCOMPARE(indicator->property("text").toString(), QStringLiteral("3 of 3"));
        // The title follows the pages, in the drawn bar too.
        QCOMPARE(screen->title(), QStringLiteral("a.jpg"));
        QTest::keyClick(app->window(), Qt::Key_Left);
        QTest::keyClick(app->window(), Qt::Key_Left);
        QTest::keyClick(app->window(), Qt::Key_Left);
        QCOMPARE(screen->previewController()->currentPreviewItemIndex(), 0);
        QCOMPARE(screen->title(), QStringLiteral("c.jpg"));
        QCOMPARE(visibleItemNamed(app->window(), "navigationTitle")->property("text"),
                 QVariant(QStringLiteral("c.jpg")));
    }

    // On a window wider than the listing's readable column, a picture opened from its row is
    // decoded for the whole page from the start, not for the column and then again: the stack
    // knows the page area before the screen loads.
    void aPictureOpenedFromAWideListingIsDecodedForThePage()
    {
        QVERIFY(PreviewFixtures::writeJpeg(at("Wide/photo.jpg"), QSize(1600, 1200)));
        auto app = launch("/Wide", {}, QSize(1280, 1004));
        auto *listing = ShellFixtures::topScreen(*app);
        ShellFixtures::waitUntilListed(listing);
        listing->openFileNamed("photo.jpg");
        auto *opened = qobject_cast<LocalFilePreviewViewController *>(
            app->navigationController()->topViewController());
        QVERIFY(opened);
        const QSizeF pageArea = app->navigationController()->pageSize();
        QVERIFY(shownPreview(*app));
        auto *pager = visibleItemNamed(app->window(), "picturePager");
        QVERIFY(pager);
        QCOMPARE(pageArea, pager->size());
        const qreal ratio = app->window()->effectiveDevicePixelRatio();
        QCOMPARE(opened->previewController()->pictures()->pixelSize(),
                 QSize(qRound(pager->width() * ratio), qRound(pager->height() * ratio)));
    }

    // Fitted to the window's width, but on a wide one no wider than the page's own size
    // (A4 at 96 per inch, with its margin), centred.
    void aPdfPageFitsTheWindowUpToItsOwnSize_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<double>("pageWidth");
        QTest::newRow("narrow") << QSize(320, 480) << 320.0;
        QTest::newRow("wide") << QSize(1920, 1080) << 595.0 * 4 / 3 + 16;
    }

    void aPdfPageFitsTheWindowUpToItsOwnSize()
    {
        QFETCH(QSize, window);
        QFETCH(double, pageWidth);
        QVERIFY(PreviewFixtures::writePdf(at("Papers/paper.pdf"), 2));
        auto app = launch("/Papers/paper.pdf", {}, window);
        QVERIFY(shownPreview(*app));
        auto *pages = visibleItemNamed(app->window(), "pdfPages");
        QVERIFY(pages);
        auto *page = pages->property("contentItem").value<QQuickItem *>()->childItems().value(0);
        QVERIFY(page);
        QVERIFY(qAbs(page->width() - pageWidth) < 1);
        const QRectF drawn = page->mapRectToScene(QRectF(0, 0, page->width(), page->height()));
        QVERIFY(qAbs(drawn.center().x() - window.width() / 2.0) < 1);
    }

    void markdownFetchesNothingFromTheNetwork()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const QString remote = QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort());
        QVERIFY(PreviewFixtures::writeJpeg(at("Notes/inside.jpg"), QSize(2000, 20)));
        QVERIFY(PreviewFixtures::writeFile(
            at("Notes/readme.md"),
            QStringLiteral("# Notes\n\n![remote](%1a.png)\n\n<img src=\"%1b.png\">\n\n"
                           "![local](inside.jpg)\n")
                .arg(remote)
                .toUtf8()));
        auto app = launch("/Notes/readme.md");
        QVERIFY(shownPreview(*app));
        auto *text = visibleItemNamed(app->window(), "markdownText");
        QVERIFY(text);
        QTRY_VERIFY(text->property("text").toString().contains("Notes"));
        drain(app->window());
        QVERIFY(!server.waitForNewConnection(0));
        QVERIFY(!server.hasPendingConnections());
        // The wide picture is scaled down to the page: nothing to scroll sideways.
        QVERIFY(text->property("contentWidth").toDouble() <= text->width());
    }

    void thePropertiesSheetRenamesThroughItsField()
    {
        QVERIFY(PreviewFixtures::writeFile(at("Docs/report.txt"), "report"));
        QVERIFY(PreviewFixtures::writeFile(at("Docs/taken.txt"), "taken"));
        auto app = launch({}, "/Docs/report.txt");
        auto *screen = qobject_cast<LocalFilePreviewViewController *>(
            app->navigationController()->topViewController());
        QVERIFY(screen && screen->isOnlyShowFileProperty());
        QCOMPARE(app->navigationController()->viewControllers().size(), 3);
        QQuickItem *content = app->window()->contentItem();
        QVERIFY(visibleItemNamed(content, "propertiesSheet"));
        QVERIFY(!visibleItemNamed(content, "filePreview"));
        auto *field = visibleItemNamed(content, "nameField");
        QVERIFY(field);
        QCOMPARE(field->property("text").toString(), QStringLiteral("report.txt"));
        QCOMPARE(visibleItemNamed(content, "sizeCaption")->property("text").toString(), QStringLiteral("Size"));
        QCOMPARE(visibleItemNamed(content, "sizeValue")->property("text").toString(), QStringLiteral("6 bytes"));
        // The layout relations: captions right-aligned on one edge, values 10 to the right.
        auto *caption = visibleItemNamed(content, "createdCaption");
        auto *value = visibleItemNamed(content, "createdValue");
        QCOMPARE(visibleItemNamed(content, "sizeCaption")->x() + visibleItemNamed(content, "sizeCaption")->width(),
                 caption->x() + caption->width());
        QCOMPARE(value->x(), caption->x() + caption->width() + 10);
        QCOMPARE(field->height(), 40.0);

        field->forceActiveFocus();
        QTest::keyClick(app->window(), Qt::Key_A, Qt::ControlModifier);
        typeText(app->window(), "taken.txt");
        QTest::keyClick(app->window(), Qt::Key_Return);
        QVERIFY(screen->textNotice()->isVisible());
        QVERIFY(field->hasActiveFocus()); // the field stays in use after a failure
        QVERIFY(QFile::exists(at("Docs/report.txt")));

        QTest::keyClick(app->window(), Qt::Key_A, Qt::ControlModifier);
        typeText(app->window(), "renamed.txt");
        QTest::keyClick(app->window(), Qt::Key_Return);
        QVERIFY(QFile::exists(at("Docs/renamed.txt")));
        QVERIFY(!field->hasActiveFocus());
        QCOMPARE(screen->title(), QStringLiteral("renamed.txt"));
        QCOMPARE(field->property("text").toString(), QStringLiteral("renamed.txt"));
    }

    // An archive's entry: its packed size stands between its size and its dates and reads as
    // the other rows do; a file of its own has no such row.
    void theSheetOfAnArchiveEntryShowsItsPackedSize()
    {
        QVERIFY(PreviewFixtures::writeFile(at("Docs/entry.bin"), QByteArray(5000, 'e')));
        auto app = launch({}, "/Docs/entry.bin");
        auto *screen = qobject_cast<LocalFilePreviewViewController *>(
            app->navigationController()->topViewController());
        QVERIFY(screen);
        QQuickItem *content = app->window()->contentItem();
        auto *sizeCaption = visibleItemNamed(content, "sizeCaption");
        QVERIFY(sizeCaption);
        QVERIFY(!visibleItemNamed(content, "packedSizeCaption"));
        QVERIFY(!visibleItemNamed(content, "packedSizeValue"));

        screen->setPackedSize(42);
        auto *caption = visibleItemNamed(content, "packedSizeCaption");
        QVERIFY(caption);
        QCOMPARE(caption->property("text").toString(), QStringLiteral("Packed Size"));
        QCOMPARE(visibleItemNamed(content, "packedSizeValue")->property("text").toString(),
                 QStringLiteral("42 bytes"));
        QCOMPARE(caption->x() + caption->width(), sizeCaption->x() + sizeCaption->width());
        QVERIFY(sizeCaption->y() < caption->y());
        QVERIFY(caption->y() < visibleItemNamed(content, "modifiedCaption")->y());
        drain(app->window());
        const QStringList names =
            accessibleNames(QAccessible::queryAccessibleInterface(app->window()));
        QVERIFY(names.contains("Packed Size 42 bytes"));
    }

    void documentsScrollWithTheKeysAndTheMouseAndGoBack_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QKeyCombination>("back");
        QTest::newRow("text") << "long.txt" << "textRows" << QKeyCombination(Qt::Key_Backspace);
        QTest::newRow("markdown") << "long.md" << "markdownPage"
                                  << QKeyCombination(Qt::AltModifier, Qt::Key_Left);
        QTest::newRow("pdf") << "long.pdf" << "pdfPages" << QKeyCombination(Qt::Key_Backspace);
    }

    void documentsScrollWithTheKeysAndTheMouseAndGoBack()
    {
        QFETCH(QString, file);
        QFETCH(QString, view);
        QFETCH(QKeyCombination, back);
        QByteArray lines;
        for (int i = 0; i < 400; ++i)
            lines += "Line " + QByteArray::number(i) + "\n\n";
        QVERIFY(file.endsWith("pdf") ? PreviewFixtures::writePdf(at("Docs/" + file), 6)
                                     : PreviewFixtures::writeFile(at("Docs/" + file), lines));
        auto app = launch("/Docs/" + file);
        QVERIFY(shownPreview(*app));
        activate(app->window());
        QQuickItem *document = nullptr;
        QTRY_VERIFY((document = visibleItemNamed(app->window(), view)));
        QTRY_VERIFY(document->property("contentHeight").toDouble() > 3 * document->height());
        const auto y = [document] { return document->property("contentY").toDouble(); };
        const double top = y();
        // Each key moves the view its way: a line, a screen, an end.
        struct Step {
            Qt::Key key;
            std::function<bool(double before, double after)> moved;
        };
        const double screenful = document->height() / 2;
        for (const Step &step : {Step{Qt::Key_Down, [](double b, double a) { return a > b; }},
                                 Step{Qt::Key_PageDown, [=](double b, double a) { return a - b > screenful; }},
                                 Step{Qt::Key_Up, [](double b, double a) { return a < b; }},
                                 Step{Qt::Key_End, [=](double, double a) { return a - top > 2 * screenful; }},
                                 Step{Qt::Key_PageUp, [=](double b, double a) { return b - a > screenful; }},
                                 Step{Qt::Key_Home, [=](double, double a) { return a == top; }}}) {
            const double before = y();
            QTest::keyClick(app->window(), step.key);
            QTRY_VERIFY2(step.moved(before, y()), qPrintable(QString::number(step.key, 16)));
        }
        // A drag with the mouse scrolls too; the press lands in the text.
        const QPoint start = document->mapToScene(QPointF(document->width() / 2, document->height() * 0.75)).toPoint();
        QTest::mousePress(app->window(), Qt::LeftButton, {}, start);
        for (int step = 1; step <= 10; ++step) {
            QTest::mouseMove(app->window(), start - QPoint(0, step * 30));
            QTest::qWait(10);
        }
        QTest::mouseRelease(app->window(), Qt::LeftButton, {}, start - QPoint(0, 300));
        QTRY_VERIFY(y() > top + 100);
        // Back, also after that press in the text.
        QTest::keyClick(app->window(), back.key(), back.keyboardModifiers());
        QTRY_COMPARE(app->navigationController()->viewControllers().size(), 2);
    }

    void aPictureZoomsAboutThePointerAndWithTheKeys()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("Error")));
        QVERIFY(PreviewFixtures::writeJpeg(at("Zoom/big.jpg"), QSize(1600, 1200)));
        auto app = launch("/Zoom/big.jpg");
        QVERIFY(shownPreview(*app));
        QQuickWindow *window = app->window();
        activate(window);
        QQuickItem *picture = visibleItemNamed(window, "picture");
        QVERIFY(picture);
        QQuickItem *page = picture->parentItem()->parentItem(); // the page's Flickable
        const auto number = [page](const char *name) { return page->property(name).toDouble(); };
        const auto zoom = [&] { return number("zoom"); };

        // Ctrl+wheel off the middle: the spot of the picture under the pointer stays there.
        const QPointF pointer(100, 150);
        const auto spot = [&] {
            return QPointF((number("contentX") + pointer.x()) / number("contentWidth"),
                           (number("contentY") + pointer.y()) / number("contentHeight"));
        };
        const QPointF before = spot();
        const QPointF inWindow = page->mapToScene(pointer);
        QWheelEvent wheel(inWindow, window->mapToGlobal(inWindow), QPoint(), QPoint(0, 240),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(window, &wheel);
        QTRY_VERIFY(zoom() > 1.2);
        QVERIFY(qAbs(spot().x() - before.x()) < 0.01 && qAbs(spot().y() - before.y()) < 0.01);

        // A drag pans the zoomed picture.
        const double left = number("contentX");
        const QPoint start = page->mapToScene(QPointF(300, 300)).toPoint();
        QTest::mousePress(window, Qt::LeftButton, {}, start);
        for (int step = 1; step <= 10; ++step) {
            QTest::mouseMove(window, start - QPoint(step * 15, 0));
            QTest::qWait(10);
        }
        QTest::mouseRelease(window, Qt::LeftButton, {}, start - QPoint(150, 0));
        QTRY_VERIFY(number("contentX") > left + 50);

        // The keys: 0 fits it again; + stops at the actual pixels (asked for at the first
        // zoom) and goes on to four times them; - steps back.
        QTest::keyClick(window, Qt::Key_0);
        QTRY_COMPARE(zoom(), 1.0);
        QTest::keyClick(window, '+');
        QTRY_VERIFY(page->property("fullResolution").toBool());
        const double actual = number("actualPixelsZoom");
        QVERIFY(qAbs(actual * 420 - 1600) < 20); // the page is the window's width
        QList<double> zooms;
        for (int i = 0; i < 20; ++i) {
            QTest::keyClick(window, '+');
            zooms.append(zoom());
        }
        QVERIFY(std::any_of(zooms.begin(), zooms.end(), [&](double z) { return qFuzzyCompare(z, actual); }));
        QVERIFY(qFuzzyCompare(zooms.last(), 4 * actual));
        QTest::keyClick(window, '-');
        QVERIFY(zoom() < zooms.last());
        QTest::keyClick(window, Qt::Key_0);
        QCOMPARE(zoom(), 1.0);
        QTest::keyClick(window, Qt::Key_1);
        QVERIFY(qFuzzyCompare(zoom(), actual));
    }

    void aPdfZoomsAboutThePointerAndNamesThePageInView()
    {
        QVERIFY(PreviewFixtures::writePdf(at("Docs/pages.pdf"), 6));
        auto app = launch("/Docs/pages.pdf");
        QVERIFY(shownPreview(*app));
        QQuickWindow *window = app->window();
        activate(window);
        QQuickItem *pages = nullptr;
        QTRY_VERIFY((pages = visibleItemNamed(window, "pdfPages")));
        QQuickItem *indicator = nullptr; // shown once the pages are measured
        QTRY_VERIFY((indicator = visibleItemNamed(window, "pageIndicator")));
        const auto pageAt = [pages](QPointF point) {
            int index = -1;
            QMetaObject::invokeMethod(pages, "indexAt", Q_RETURN_ARG(int, index),
                                      Q_ARG(qreal, pages->property("contentX").toDouble() + point.x()),
                                      Q_ARG(qreal, pages->property("contentY").toDouble() + point.y()));
            return index;
        };
        // Two screens down, the page filling the view is the one named.
        QTest::keyClick(window, Qt::Key_PageDown);
        QTest::keyClick(window, Qt::Key_PageDown);
        const QPointF middle(pages->width() / 2, pages->height() / 2);
        QTRY_COMPARE(indicator->property("text").toString(),
                     QStringLiteral("%1 of 6").arg(pageAt(middle) + 1));
        // Ctrl+wheel low in the view: the page under the pointer stays under it, and stays named
        // when it fills the view.
        const QPointF pointer(60, pages->height() * 0.8);
        const int under = pageAt(pointer);
        const QPointF inWindow = pages->mapToScene(pointer);
        for (int notch = 0; notch < 3; ++notch) {
            QWheelEvent wheel(inWindow, window->mapToGlobal(inWindow), QPoint(), QPoint(0, 240),
                              Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(window, &wheel);
        }
        QTRY_VERIFY(pages->property("zoom").toDouble() > 2);
        QCOMPARE(pageAt(pointer), under);
        QTRY_COMPARE(indicator->property("text").toString(), QStringLiteral("%1 of 6").arg(under + 1));
    }

    void everyPressableThingHasARoleAndAName()
    {
        QVERIFY(PreviewFixtures::writeFile(at("Access/notes.txt"), "one\ntwo\n"));
        QVERIFY(PreviewFixtures::writeJpeg(at("Access/a.jpg"), QSize(64, 48)));
        QVERIFY(PreviewFixtures::writeJpeg(at("Access/b.jpg"), QSize(64, 48)));
        struct Start {
            QString open, info;
        };
        for (const Start &start : {Start{{}, "/Access/notes.txt"}, Start{"/Access/a.jpg", {}},
                                   Start{"/Access/notes.txt", {}}}) {
            auto app = launch(start.open, start.info);
            QVERIFY(shownPreview(*app));
            drain(app->window());
            QAccessibleInterface *window = QAccessible::queryAccessibleInterface(app->window());
            QVERIFY(window);
            QList<QAccessibleInterface *> pressable;
            collectPressable(window, pressable);
            for (QAccessibleInterface *interface : pressable) {
                QVERIFY(interface->role() != QAccessible::NoRole);
                QVERIFY2(!interface->text(QAccessible::Name).trimmed().isEmpty(),
                         qPrintable(QStringLiteral("role %1 (%2) in %3")
                                        .arg(interface->role())
                                        .arg(interface->object()
                                                 ? interface->object()->metaObject()->className()
                                                 : "?")
                                        .arg(start.open + start.info)));
            }
            const QStringList names = accessibleNames(window);
            if (!start.info.isEmpty()) {
                QVERIFY(names.contains("Name"));
                QVERIFY(names.contains("Properties of notes.txt"));
                QVERIFY(names.contains("Size 8 bytes"));
            } else if (start.open.endsWith("jpg")) {
                QVERIFY(names.contains("Pictures"));
                // A picture's page zooms when pressed.
                const auto page = std::find_if(pressable.begin(), pressable.end(), [](auto *i) {
                    return i->text(QAccessible::Name) == "a.jpg";
                });
                QVERIFY(page != pressable.end());
                QCOMPARE((*page)->role(), QAccessible::Graphic);
            } else {
                QVERIFY(names.contains("one"));
            }
        }
    }
};

QTEST_MAIN(TestPreviewPage)
#include "tst_previewpage.moc"
