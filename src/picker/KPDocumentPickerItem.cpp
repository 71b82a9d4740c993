#include "KPDocumentPickerItem.h"

#include "ByteCountFormatter.h"
#include "DateTimeFormatter.h"
#include "Utils.h"

void KPDocumentPickerItem::formatMetadata() const
{
    const bool dated = lastModifiedDate.isValid();
    const QString size = sharedFileSizeFormatter().stringFromByteCount(qint64(fileSize));
    const QString date = dated ? sharedDateFormatter().stringFromDate(lastModifiedDate) : QString();
    if (!isFolder && dated && fileSize > 0)
        m_localizedMetadata = QStringLiteral("%1 \u2022 %2").arg(size, date);
    else if (dated)
        m_localizedMetadata = date;
    else if (fileSize > 0)
        m_localizedMetadata = size;
}

QString KPDocumentPickerItem::localizedMetadata() const
{
    if (m_localizedMetadata.isNull())
        formatMetadata();
    return m_localizedMetadata;
}

QString KPDocumentPickerItem::description() const
{
    return QStringLiteral("Name: %1 Size: %2 Folder: %3")
        .arg(fileName)
        .arg(qint64(fileSize))
        .arg(isFolder ? 1 : 0);
}

const ByteCountFormatter &KPDocumentPickerItem::sharedFileSizeFormatter()
{
    return Utils::sharedFileSizeFormatter();
}

const DateTimeFormatter &KPDocumentPickerItem::sharedDateFormatter()
{
    return Utils::sharedDateFormatter();
}
