#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <memory>

class ByteCountFormatter;
class DateTimeFormatter;

// One listed file or folder: its name (not a path), size, modification time and kind, and the
// one-line metadata text under its name, built on first read and then kept.
//
// Thread-safety: filled on one thread and not changed after it is delivered; the metadata text
// is built and read on the main thread only.
class KPDocumentPickerItem {
public:
    QString fileName;
    quint64 fileSize = 0;
    QDateTime lastModifiedDate; // invalid: none
    bool isFolder = false;
    qint64 itemType = 0; // the data source's own tag; never looked at here

    // "<size> • <date>" for a file with both, the date alone for folders and empty files, the
    // size alone without a date; null when there is neither (and then built again next time).
    QString localizedMetadata() const;
    // Replaces the kept text; a null string makes the next read build it again.
    void setLocalizedMetadata(const QString &text) { m_localizedMetadata = text; }
    void formatMetadata() const;

    // "Name: %1 Size: %2 Folder: %3", for debugging.
    QString description() const;

    static const ByteCountFormatter &sharedFileSizeFormatter();
    static const DateTimeFormatter &sharedDateFormatter();

private:
    mutable QString m_localizedMetadata;
};

using KPDocumentPickerItemPtr = std::shared_ptr<KPDocumentPickerItem>;
// A listing, handed over whole; two handovers of the same list share their data.
using KPDocumentPickerItems = QList<KPDocumentPickerItemPtr>;
