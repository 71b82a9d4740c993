#include "FileRowPicture.h"

#include "ComicCover.h"
#include "FileExtensionImage.h"
#include "TableViewCell.h"
#include "Thumbnail.h"

#include <QFileInfo>

namespace FileRowPicture {

void show(TableViewCell *cell, const QString &fileName, const QString &path)
{
    const QString extension = QFileInfo(fileName).suffix();
    // The picker has already set the 37-point frame and forgotten the cell's previous request.
    if (Thumbnail::isMadeFor(extension))
        Thumbnail::cr_setLocalImageFilePath(cell->imageView(), path);
    else if (ComicCover::isComicBook(extension))
        Thumbnail::setImageFromFile(cell->imageView(), path, &ComicCover::decodeToFit);
    showBadge(cell, fileName);
}

void showBadge(TableViewCell *cell, const QString &fileName)
{
    cell->imageView()->setImage(
        FileExtensionImage(QRectF(0, 0, 37, 37), QFileInfo(fileName).suffix())
            .imageRepresentation());
}

} // namespace FileRowPicture
