#include "DefaultApplication.h"

#include "TextNotice.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

bool DefaultApplication::open(const QString &path, TextNotice *notice)
{
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return true;
    notice->show(tr("“%1” could not be opened: no application for it was found. Install one "
                    "that opens files of this kind.")
                     .arg(QFileInfo(path).fileName()));
    return false;
}
