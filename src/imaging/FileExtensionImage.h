#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>
#include <optional>

// The generic icon of a file: an opaque orange square with the file's extension written across
// its middle in capitals. Callers make one, read `imageRepresentation()` once and drop it; file
// rows show it at 37 x 37, the properties sheet at 300 x 300.
//
// Sizes are in logical pixels, and so are font sizes: a 9.25-point font is 9.25 logical pixels
// high whatever the screen's DPI, as the badge's proportions are drawn for.
//
// Thread-safety: a plain value; one instance is used by one thread at a time. Drawing works on
// any thread once a QGuiApplication exists (it reads the screen's scale and the system font).
class FileExtensionImage {
public:
    FileExtensionImage(QRectF frame, QString fullName);

    QRectF frame() const { return m_frame; }
    void setFrame(QRectF frame) { m_frame = frame; }
    QString fullName() const { return m_fullName; }
    void setFullName(const QString &fullName) { m_fullName = fullName; }
    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(QColor color) { m_backgroundColor = color; }
    QColor initialsColor() const { return m_initialsColor; }
    void setInitialsColor(QColor color) { m_initialsColor = color; }
    std::optional<QFont> initialsFont() const { return m_initialsFont; }
    void setInitialsFont(std::optional<QFont> font) { m_initialsFont = std::move(font); }

    // The whole name in upper case: "jpeg" reads "JPEG", nothing is cut.
    QString initials() const;
    // `initialsFont` when set, else the system font at a quarter of the frame's height.
    QFont effectiveFont() const;
    // A newly drawn image of the frame's size at the screen's scale, opaque; the text wraps
    // within the frame's width, is centred as a block and clipped to the square.
    QImage imageRepresentation() const;

private:
    QRectF m_frame;
    QString m_fullName;
    QColor m_backgroundColor;
    QColor m_initialsColor = Qt::white;
    std::optional<QFont> m_initialsFont;
};
