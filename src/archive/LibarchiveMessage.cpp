#include "LibarchiveMessage.h"

#include "ArchiveErrors.h"

#include <archive.h>

QString libarchiveMessage(struct archive *archive)
{
    const char *text = archive_error_string(archive);
    return text ? QString::fromLocal8Bit(text) : ArchiveErrors::tr("unknown error");
}
