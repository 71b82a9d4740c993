#pragma once

#include <QImage>

// The two stock row icons: the folder picture (the image resource "folder_small") and a plain
// sheet with a folded corner, drawn at the screen's scale each time it is asked for.
namespace KPDocumentPickerIcons {

QImage KP_documentPickerFolderIcon();
QImage KP_documentPickerDefaultIcon();

// An image resource by name, drawn at `size` points and the screen's scale.
QImage imageNamed(const QString &name, QSizeF size);

} // namespace KPDocumentPickerIcons
