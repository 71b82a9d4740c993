#pragma once

#include <QHash>
#include <QImage>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>

class KPDocumentPickerTableViewCell;
class QObject;

// Presentation settings shared by every level of one picker stack: the folder and file row
// icons (the stock ones until others are set) and how new rows are made.
//
// Thread-safety: main thread only.
class KPDocumentPickerConfiguration {
public:
    using CellFactory = std::function<KPDocumentPickerTableViewCell *(
        const QString &reuseIdentifier, QObject *parent)>;

    // The stock image on first read, kept afterwards; a null image brings the stock one back.
    QImage folderIcon();
    void setFolderIcon(const QImage &icon) { m_folderIcon = icon; }
    QImage defaultIcon();
    void setDefaultIcon(const QImage &icon) { m_defaultIcon = icon; }

    // Stands for the row class: unset means a plain KPDocumentPickerTableViewCell.
    CellFactory tableViewCellClass() const { return m_cellFactory; }
    void setTableViewCellClass(CellFactory factory) { m_cellFactory = std::move(factory); }

    // Carried for the data source's use; the picker does not look at them.
    bool showToolbar = true;
    std::optional<QStringList> allowedFileExtensions;
    bool showExcludedFileExtensions = false;
    QVariantMap fileFormatIcons;
    QVariantMap fileIcons;
    QVariantMap themeAttributes;

private:
    QImage m_folderIcon;
    QImage m_defaultIcon;
    CellFactory m_cellFactory;
};

using KPDocumentPickerConfigurationPtr = std::shared_ptr<KPDocumentPickerConfiguration>;
