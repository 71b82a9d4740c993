#pragma once

#include "ImageView.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// One row of a TableView: a title line, a detail line, an image and an accessory. Cells are
// reused: when a row scrolls out of sight its cell goes back to the table's pool and is
// configured again for another row, so everything a row shows must be set when it is configured.
//
// Thread-safety: main thread only.
class TableViewCell : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Cells are made by their lists")
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY changed)
    Q_PROPERTY(QString detailText READ detailText WRITE setDetailText NOTIFY changed)
    Q_PROPERTY(QColor detailTextColor READ detailTextColor NOTIFY changed)
    Q_PROPERTY(QFont font READ font WRITE setFont NOTIFY changed)
    Q_PROPERTY(Accessory accessory READ accessory WRITE setAccessory NOTIFY changed)
    Q_PROPERTY(ImageView *imageView READ imageView CONSTANT)

public:
    enum class Accessory { None, DisclosureIndicator, DetailButton };
    Q_ENUM(Accessory)

    explicit TableViewCell(const QString &reuseIdentifier, QObject *parent = nullptr);

    QString reuseIdentifier() const { return m_reuseIdentifier; }
    QString text() const { return m_text; }
    void setText(const QString &text);
    QString detailText() const { return m_detailText; }
    void setDetailText(const QString &text);
    QColor detailTextColor() const { return m_detailTextColor; }
    void setDetailTextColor(QColor color);
    QFont font() const { return m_font; }
    void setFont(const QFont &font);
    Accessory accessory() const { return m_accessory; }
    void setAccessory(Accessory accessory);
    ImageView *imageView() { return &m_imageView; }

    // The row this cell shows now, set by the table when it hands the cell out.
    int row() const { return m_row; }
    int section() const { return m_section; }
    void setIndexPath(int section, int row);

signals:
    void changed();

private:
    QString m_reuseIdentifier;
    QString m_text;
    QString m_detailText;
    QColor m_detailTextColor = Qt::gray;
    QFont m_font;
    Accessory m_accessory = Accessory::None;
    ImageView m_imageView;
    int m_section = -1;
    int m_row = -1;
};
