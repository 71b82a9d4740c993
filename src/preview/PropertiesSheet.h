#pragma once

#include "ImageView.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The properties sheet's views as its page draws them: the 300 x 300 picture, the name (a hidden
// label used as a layout guide, and the editable field), the "Size", "Modified" and "Created"
// captions with their values ("Packed Size" under "Size" for an archive's entry), the scroll
// offset that keeps the name field clear of an on-screen keyboard, and whether the sheet is
// hidden behind the previewer. Sizes are in logical pixels, one to a point.
//
// Thread-safety: main thread only.
class PropertiesSheet : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by its screen")
    Q_PROPERTY(bool hidden READ isHidden NOTIFY hiddenChanged)
    Q_PROPERTY(QString name READ name NOTIFY filled)
    Q_PROPERTY(QString sizeText READ sizeText NOTIFY filled)
    Q_PROPERTY(QString packedSizeText READ packedSizeText NOTIFY packedSizeChanged)
    Q_PROPERTY(QString modifiedText READ modifiedText NOTIFY filled)
    Q_PROPERTY(QString createdText READ createdText NOTIFY filled)
    Q_PROPERTY(QString sizeCaption READ sizeCaption CONSTANT)
    Q_PROPERTY(QString packedSizeCaption READ packedSizeCaption CONSTANT)
    Q_PROPERTY(QString modifiedCaption READ modifiedCaption CONSTANT)
    Q_PROPERTY(QString createdCaption READ createdCaption CONSTANT)
    Q_PROPERTY(ImageView *previewImageView READ previewImageView CONSTANT)
    Q_PROPERTY(QColor borderColor READ borderColor CONSTANT)
    Q_PROPERTY(QColor captionColor READ captionColor CONSTANT)
    Q_PROPERTY(double nameFontSize MEMBER nameFontSize CONSTANT)
    Q_PROPERTY(double rowFontSize MEMBER rowFontSize CONSTANT)
    Q_PROPERTY(double pictureSide MEMBER pictureSide CONSTANT)
    Q_PROPERTY(double contentOffsetY READ contentOffsetY NOTIFY contentOffsetChanged)

public:
    static constexpr double pictureSide = 300;
    static constexpr double nameFontSize = 20;
    static constexpr double rowFontSize = 14;

    explicit PropertiesSheet(QObject *parent = nullptr);

    // Reads the item's attributes again and shows them: name, size (a folder's own entry
    // size), dates (empty when unknown or the item is gone, which also shows "0 bytes") and the
    // picture by kind: a thumbnail for picture kinds (arriving later, made before the rows'
    // thumbnails still waiting), the extension badge for other kinds, nothing for media. A
    // hidden sheet gets no picture.
    void fill(const QString &path);
    // The item is a private copy of an archive's entry that takes `bytes` in the archive: the
    // sheet shows it as the packed size. -1 (unknown, or an item of its own) shows no row.
    void setPackedSize(qint64 bytes);

    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden);

    QString name() const { return m_name; }
    QString sizeText() const { return m_sizeText; }
    // Empty when there is no packed size to show.
    QString packedSizeText() const { return m_packedSizeText; }
    QString modifiedText() const { return m_modifiedText; }
    QString createdText() const { return m_createdText; }
    QString sizeCaption() const { return tr("Size"); }
    QString packedSizeCaption() const { return tr("Packed Size"); }
    QString modifiedCaption() const { return tr("Modified"); }
    QString createdCaption() const { return tr("Created"); }
    ImageView *previewImageView() { return &m_previewImageView; }
    const ImageView *previewImageView() const { return &m_previewImageView; }
    static QColor borderColor();
    static QColor captionColor();

    double contentOffsetY() const { return m_contentOffsetY; }
    // An on-screen keyboard came or went: `keyboardHeight` is its height (0 when gone),
    // `nameFieldY` the name field's top in the page. Raises the sheet so that the field clears
    // the keyboard while the sheet rests; a second change brings it back to rest.
    Q_INVOKABLE void keyboardWillChange(double keyboardHeight, double nameFieldY);
    // The user dragged the sheet to `offset`.
    Q_INVOKABLE void userScrolled(double offset);

signals:
    void hiddenChanged();
    void filled();
    void packedSizeChanged();
    void contentOffsetChanged();

private:
    void showPicture(const QString &path);

    bool m_hidden = false;
    QString m_name;
    QString m_sizeText;
    QString m_packedSizeText;
    QString m_modifiedText;
    QString m_createdText;
    ImageView m_previewImageView{QSizeF(pictureSide, pictureSide)};
    double m_contentOffsetY = 0;
};
