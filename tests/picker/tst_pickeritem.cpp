#include "ByteCountFormatter.h"
#include "DateTimeFormatter.h"
#include "KPDocumentPickerConfiguration.h"
#include "KPDocumentPickerItem.h"
#include "KPDocumentPickerSegmentedControl.h"
#include "Utils.h"

#include "Translations.h"

#include <QTest>

class TestPickerItem : public QObject {
    Q_OBJECT

    const QDateTime date = QDateTime::fromSecsSinceEpoch(1'700'000'000);
    QString dateText() const { return Utils::sharedDateFormatter().stringFromDate(date); }

private slots:
    void initTestCase()
    {
        Translations::install(*QCoreApplication::instance(), QLocale(QLocale::English));
    }
    void metadataLine()
    {
        KPDocumentPickerItem file;
        file.fileName = "a.txt";
        file.fileSize = 1500;
        file.lastModifiedDate = date;
        QCOMPARE(file.localizedMetadata(), QStringLiteral("2 KB \u2022 %1").arg(dateText()));

        KPDocumentPickerItem empty;
        empty.lastModifiedDate = date;
        QCOMPARE(empty.localizedMetadata(), dateText()); // no size, no bullet

        KPDocumentPickerItem folder;
        folder.isFolder = true;
        folder.fileSize = 4096;
        folder.lastModifiedDate = date;
        QCOMPARE(folder.localizedMetadata(), dateText());

        KPDocumentPickerItem undated;
        undated.fileSize = 999;
        QCOMPARE(undated.localizedMetadata(), QStringLiteral("999 bytes"));

        KPDocumentPickerItem nothing;
        QVERIFY(nothing.localizedMetadata().isNull());
        nothing.fileSize = 1;
        QCOMPARE(nothing.localizedMetadata(), QStringLiteral("1 byte")); // tried again
    }

    void metadataIsKeptUntilReset()
    {
        KPDocumentPickerItem file;
        file.fileSize = 2'000'000;
        QCOMPARE(file.localizedMetadata(), QStringLiteral("2 MB"));
        file.fileSize = 3'000'000;
        QCOMPARE(file.localizedMetadata(), QStringLiteral("2 MB"));
        file.setLocalizedMetadata(QString());
        QCOMPARE(file.localizedMetadata(), QStringLiteral("3 MB"));
    }

    void configurationKeepsItsIcons()
    {
        KPDocumentPickerConfiguration configuration;
        const QImage folder = configuration.folderIcon();
        const QImage sheet = configuration.defaultIcon();
        QVERIFY(!folder.isNull());
        QCOMPARE(sheet.deviceIndependentSize(), QSizeF(33, 37));
        QVERIFY(sheet.hasAlphaChannel());
        QCOMPARE(sheet.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(configuration.defaultIcon().cacheKey(), sheet.cacheKey());
        QImage custom(10, 10, QImage::Format_ARGB32);
        custom.fill(Qt::red);
        configuration.setFolderIcon(custom);
        QCOMPARE(configuration.folderIcon().cacheKey(), custom.cacheKey());
        configuration.setFolderIcon(QImage());
        QVERIFY(configuration.folderIcon().cacheKey() != custom.cacheKey());
    }

    void sortControlTapsAndArrows()
    {
        KPDocumentPickerSegmentedControl control;
        int changes = 0;
        control.setSortTypeChangedHandler([&] { ++changes; });
        control.didMoveToSuperview();
        const auto &images = KPDocumentPickerSegmentedControl::segmentedControlImages();
        using C = KPDocumentPickerSegmentedControl;
        auto shows = [&](int segment, int kind) {
            return control.segmentImages().at(segment).cacheKey() ==
                   images.at(segment).at(kind).cacheKey();
        };
        QVERIFY(shows(C::NameSegment, C::AscendingImage));
        control.tapSegment(C::DateSegment);
        QCOMPARE(control.sortingType(), KPDocumentPickerSortTypeDateAscending);
        QVERIFY(shows(C::DateSegment, C::AscendingImage));
        QVERIFY(shows(C::NameSegment, C::PlainImage));
        control.tapSegment(C::DateSegment);
        QCOMPARE(control.sortingType(), KPDocumentPickerSortTypeDateDescending);
        QVERIFY(shows(C::DateSegment, C::DescendingImage));
        control.tapSegment(C::DateSegment);
        QCOMPARE(control.sortingType(), KPDocumentPickerSortTypeDateAscending);
        control.tapSegment(C::SizeSegment);
        QCOMPARE(control.sortingType(), KPDocumentPickerSortTypeSizeAscending);
        QCOMPARE(changes, 4);
        // Image: title box 20 points wider than the text; the arrow's pixels in the right margin.
        const QImage down = images.at(C::NameSegment).at(C::DescendingImage);
        const QImage plain = images.at(C::NameSegment).at(C::PlainImage);
        QCOMPARE(down.size(), plain.size());
        QVERIFY(down != plain);
    }
};

QTEST_MAIN(TestPickerItem)
#include "tst_pickeritem.moc"
