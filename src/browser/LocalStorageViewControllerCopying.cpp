// The listing screen's copying: the clipboard, paste, duplicate, and opening with other
// applications.
#include "LocalStorageViewController.h"

#include "CopyIntoFolder.h"
#include "DefaultApplication.h"
#include "FileClipboard.h"
#include "LocalFolderListing.h"
#include "MoveIntoFolder.h"

#include <QFileInfo>
#include <QUrl>

void LocalStorageViewController::copyAction(MenuController *sender)
{
    if (const auto item = menuItem(sender))
        copyItems({pathOnDisk(item)}, false);
}

void LocalStorageViewController::copyButtonTapped()
{
    copyItems(selectedPaths(), false);
    leaveEditing();
}

void LocalStorageViewController::copyKeyPressed(bool cut, int flatRow)
{
    QStringList paths;
    if (isEditing()) {
        paths = selectedPaths();
    } else if (const auto item = itemAtFlatRow(flatRow)) {
        paths.append(pathOnDisk(item));
    }
    if (!paths.isEmpty())
        copyItems(paths, cut);
}

void LocalStorageViewController::copyItems(const QStringList &paths, bool cut)
{
    FileClipboard::put(paths, cut);
    const QString name = QFileInfo(paths.value(0)).fileName();
    if (cut)
        textNotice()->show(paths.size() == 1
                               ? tr("“%1” will move where you paste it.").arg(name)
                               : tr("%n items will move where you paste them.", "",
                                    int(paths.size())));
    else
        textNotice()->show(paths.size() == 1
                               ? tr("“%1” is copied: paste it into any folder.").arg(name)
                               : tr("%n items are copied: paste them into any folder.", "",
                                    int(paths.size())));
}

void LocalStorageViewController::updatePasteButton()
{
    if (m_pasteButton)
        m_pasteButton->setEnabled(FileClipboard::contents().has_value());
}

void LocalStorageViewController::paste()
{
    const auto held = FileClipboard::contents();
    if (!held) {
        textNotice()->show(tr("There is nothing to paste. Copy or cut some items first."));
        return;
    }
    QPointer<LocalStorageViewController> weakSelf(this);
    const auto finished = [weakSelf, held](const QList<Error> &failures) {
        if (!weakSelf)
            return;
        weakSelf->showFailures(failures, tr("Paste failed"));
        if (held->cut && failures.isEmpty())
            FileClipboard::clearIfHolding(held->paths);
        weakSelf->reloadItemsFromDataSource();
    };
    const QString folder = LocalFolderListing::folderPathForPickerPath(filePath());
    const QString folderName = LocalFolderListing::titleForFilePath(filePath());
    if (held->cut)
        MoveIntoFolder::run(this, held->paths, folder, folderName, finished);
    else
        CopyIntoFolder::run(this, held->paths, folder, folderName, finished);
}

void LocalStorageViewController::duplicateAction(MenuController *sender)
{
    const auto item = menuItem(sender);
    if (!item)
        return;
    QPointer<LocalStorageViewController> weakSelf(this);
    CopyIntoFolder::run(this, {pathOnDisk(item)},
                        LocalFolderListing::folderPathForPickerPath(filePath()),
                        LocalFolderListing::titleForFilePath(filePath()),
                        [weakSelf](const QList<Error> &failures) {
                            if (!weakSelf)
                                return;
                            weakSelf->showFailures(failures, tr("Duplicate failed"));
                            weakSelf->reloadItemsFromDataSource();
                        });
}

void LocalStorageViewController::openWithAction(MenuController *sender)
{
    if (const auto item = menuItem(sender))
        openWithDefaultApp(pathOnDisk(item));
}

void LocalStorageViewController::openWithDefaultApp(const QString &path)
{
    DefaultApplication::open(path, textNotice());
}

QVariantMap LocalStorageViewController::dragDataForFlatRow(int flatRow)
{
    const auto item = itemAtFlatRow(flatRow);
    if (!item)
        return {};
    const IndexPath at = tableView()->rows()->indexPathAt(flatRow);
    const QStringList paths = isEditing() && tableView()->indexPathsForSelectedRows().contains(at)
                                  ? selectedPaths()
                                  : QStringList{pathOnDisk(item)};
    QStringList urls;
    for (const QString &path : paths)
        urls.append(QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded()));
    return {{QStringLiteral("text/uri-list"), urls},
            {QStringLiteral("text/plain"), paths.join(u'\n')}};
}

bool LocalStorageViewController::acceptsDropOnFlatRow(int flatRow)
{
    const auto item = itemAtFlatRow(flatRow);
    return item && item->isFolder;
}

void LocalStorageViewController::dropOnFlatRow(const QList<QUrl> &urls, int flatRow)
{
    const auto folder = itemAtFlatRow(flatRow);
    if (!folder || !folder->isFolder)
        return;
    const QString folderPath = pathOnDisk(folder);
    QStringList sources;
    for (const QUrl &url : urls)
        if (url.isLocalFile() && url.toLocalFile() != folderPath) // a row dropped on itself
            sources.append(url.toLocalFile());
    if (!sources.isEmpty())
        moveInto(sources, LocalFolderListing::pickerPathByAppending(filePath(), folder->fileName));
}
