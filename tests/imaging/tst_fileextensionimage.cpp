#include "FileExtensionImage.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

namespace {

const QRgb orange = qRgb(253, 183, 107);

// Pixels of the text: white drawn over orange lifts blue well above the orange's 107.
QRect textBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qBlue(image.pixel(x, y)) > 180)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace

// Runs once at the offscreen screen's own ratio and once with QT_SCALE_FACTOR=2.
class TestFileExtensionImage : public QObject {
    Q_OBJECT
    const double scale = QGuiApplication::primaryScreen()->devicePixelRatio();

private slots:
    void opaqueSquareOfTheFrameAtTheScreensScale()
    {
        for (const double side : {37.0, 300.0}) {
            const QImage image =
                FileExtensionImage(QRectF(0, 0, side, side), "pdf").imageRepresentation();
            QCOMPARE(image.deviceIndependentSize(), QSizeF(side, side));
            QCOMPARE(image.size(), (QSizeF(side, side) * scale).toSize());
            QVERIFY(!image.hasAlphaChannel());
            for (const QPoint corner :
                 {QPoint(0, 0), QPoint(image.width() - 1, 0), QPoint(0, image.height() - 1),
                  QPoint(image.width() - 1, image.height() - 1)})
                QCOMPARE(image.pixel(corner), orange);
        }
    }

    void fontIsAQuarterOfTheHeightUnlessOneIsSet()
    {
        FileExtensionImage small(QRectF(0, 0, 37, 37), "jpg");
        QCOMPARE(small.effectiveFont().pointSizeF(), 9.25);
        FileExtensionImage large(QRectF(0, 0, 300, 300), "jpg");
        QCOMPARE(large.effectiveFont().pointSizeF(), 75.0);

        QFont chosen(QStringLiteral("DejaVu Sans"));
        chosen.setPointSizeF(20);
        large.setInitialsFont(chosen);
        QCOMPARE(large.effectiveFont().pointSizeF(), 20.0);
        // The set font is drawn at its own size: smaller text than the 75-point default.
        const int defaultHeight =
            textBounds(FileExtensionImage(QRectF(0, 0, 300, 300), "jpg").imageRepresentation())
                .height();
        QVERIFY(textBounds(large.imageRepresentation()).height() < defaultHeight * 0.5);
    }

    void initialsAreTheWholeNameInCapitals()
    {
        QCOMPARE(FileExtensionImage(QRectF(0, 0, 37, 37), "jpeg").initials(), "JPEG");
        QCOMPARE(FileExtensionImage(QRectF(0, 0, 37, 37), "abcdefg").initials(), "ABCDEFG");
        QCOMPARE(FileExtensionImage(QRectF(0, 0, 37, 37), "Tar").initials(), "TAR");
    }

    void noExtensionGivesAPlainSquare()
    {
        const QImage image = FileExtensionImage(QRectF(0, 0, 37, 37), "").imageRepresentation();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                QCOMPARE(image.pixel(x, y), orange);
    }

    void textIsWhiteAndCentred()
    {
        const QImage image =
            FileExtensionImage(QRectF(0, 0, 300, 300), "pdf").imageRepresentation();
        const QRect text = textBounds(image);
        QVERIFY(!text.isEmpty());
        int white = 0;
        for (int y = text.top(); y <= text.bottom(); ++y)
            for (int x = text.left(); x <= text.right(); ++x)
                white += image.pixel(x, y) == qRgb(255, 255, 255);
        QVERIFY2(white > 100, "the strokes are white");
        const double middle = image.width() / 2.0;
        // The line is centred by its advance; the strokes' own middle differs by the glyphs'
        // side bearings, which depend on the font (Noto's "F" leaves more room than DejaVu's).
        QVERIFY2(qAbs(text.center().x() + 0.5 - middle) <= 0.03 * image.width(),
                 qPrintable(QString::number(text.center().x() + 0.5 - middle)));
        // Centred by the line's height, so the capitals sit within a few pixels of the middle.
        QVERIFY(qAbs(text.center().y() + 0.5 - middle) <= 10 * scale);
    }

    void longTextWrapsStaysCentredAndIsClipped()
    {
        const QImage oneLine =
            FileExtensionImage(QRectF(0, 0, 37, 37), "pdf").imageRepresentation();
        const QImage wrapped =
            FileExtensionImage(QRectF(0, 0, 37, 37), "extension").imageRepresentation();
        const QRect line = textBounds(oneLine), block = textBounds(wrapped);
        QVERIFY2(block.height() > line.height() * 1.8, "the long text breaks into lines");
        QVERIFY(block.right() < wrapped.width() && block.left() >= 0);
        const double middle = wrapped.height() / 2.0;
        QVERIFY(qAbs(block.center().y() + 0.5 - middle) <= 3 * scale);

        // Far too much text for the square: drawn, cut at the edges, the square still whole.
        const QImage overflowing =
            FileExtensionImage(QRectF(0, 0, 37, 37), QString(60, 'w')).imageRepresentation();
        QCOMPARE(overflowing.deviceIndependentSize(), QSizeF(37, 37));
        const QRect cut = textBounds(overflowing);
        QVERIFY(cut.top() < 6 * scale && cut.bottom() >= overflowing.height() - 6 * scale);
    }
};

QTEST_MAIN(TestFileExtensionImage)
#include "tst_fileextensionimage.moc"
