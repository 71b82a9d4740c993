#include "KPDocumentPickerConfiguration.h"

#include "KPDocumentPickerIcons.h"

QImage KPDocumentPickerConfiguration::folderIcon()
{
    if (m_folderIcon.isNull())
        m_folderIcon = KPDocumentPickerIcons::KP_documentPickerFolderIcon();
    return m_folderIcon;
}

QImage KPDocumentPickerConfiguration::defaultIcon()
{
    if (m_defaultIcon.isNull())
        m_defaultIcon = KPDocumentPickerIcons::KP_documentPickerDefaultIcon();
    return m_defaultIcon;
}
