// The listing screen's packing and unpacking: the dialogs, the shared compress queue, where
// results land and which screens list again afterwards.

#include "LocalStorageViewController.h"

#include "Announcer.h"
#include "ArchiverManager.h"
#include "CompressDialog.h"
#include "CompressQueue.h"
#include "FileOperations.h"
#include "NavigationController.h"
#include "PasswordDialog.h"
#include "ProgressOverlay.h"
#include "Utils.h"

#include <QFileInfo>

CompressQueue *LocalStorageViewController::sharedCompressQueue()
{
    return CompressQueue::shared();
}

void LocalStorageViewController::configureHUD()
{
    // The queue answers the overlay's "Cancel" from its first use on; nothing else to set.
    sharedCompressQueue();
}

ViewController *LocalStorageViewController::visibleScreen()
{
    auto *stack = navigationController();
    return stack && stack->topViewController() ? stack->topViewController() : this;
}

void LocalStorageViewController::pushListingScreen(const QString &pickerPath)
{
    auto *stack = navigationController();
    if (!stack)
        return;
    // A retry after a wrong password finds the destination shown already.
    const auto *shown = qobject_cast<LocalStorageViewController *>(stack->topViewController());
    if (shown && shown->filePath() == pickerPath)
        return;
    auto *root = rootViewController() ? rootViewController() : this;
    auto *screen = new LocalStorageViewController(root, pickerPath);
    screen->setTitle(QFileInfo(pickerPath).fileName());
    screen->setSession(session());
    stack->pushViewController(screen, true);
}

// ----------------------------------------------------------------------------- packing

void LocalStorageViewController::compressButtonTapped()
{
    const QString defaultName = CompressDialog::defaultName(selectedItems());
    QPointer<LocalStorageViewController> weakSelf(this);
    CompressDialog::present(this, defaultName,
                            [weakSelf, defaultName](const QString &name, const QString &password) {
                                if (weakSelf)
                                    weakSelf->compressAs(name, defaultName, password);
                            });
}

void LocalStorageViewController::compressAs(const QString &typedName, const QString &defaultName,
                                            const QString &password)
{
    QString name;
    Error error;
    if (!CompressDialog::archiveName(Utils::documentsPath(), typedName, defaultName, &name,
                                     &error)) {
        textNotice()->show(error.message);
        return;
    }
    const QString wanted = typedName.isEmpty() ? defaultName : typedName;
    pack(Utils::documentsPath() + u'/' + name, password,
         name == wanted
             ? QString()
             : tr("“%1” already exists; the archive is saved as “%2”.").arg(wanted, name));
}

void LocalStorageViewController::compress(const QString &archivePath, const QString &password)
{
    pack(archivePath, password, QString());
}

void LocalStorageViewController::pack(const QString &archivePath, const QString &password,
                                      const QString &successNotice)
{
    QStringList paths;
    for (const auto &item : selectedItems())
        paths.append(item->isFolder ? pathOnDisk(item) + u'/' : pathOnDisk(item));
    const QString usedPassword = Utils::isEmptyString(password) ? QString() : password;
    QPointer<LocalStorageViewController> weakSelf(this);
    QPointer<NavigationController> stack(navigationController());
    sharedCompressQueue()->enqueue(
        tr("Packing “%1”…").arg(QFileInfo(archivePath).fileName()),
        [paths, archivePath, usedPassword](ArchiveProgressDelegate *progress, Error *error) {
            return ArchiverManager::compressZipAtPaths(paths, archivePath, usedPassword, error,
                                                       progress);
        },
        [weakSelf, stack, successNotice, archivePath](const Error &error) {
            const QString notice = !error.isSet()                          ? successNotice
                                   : error.code == ArchiveErrors::Cancelled ? QString()
                                                                            : error.message;
            if (!notice.isEmpty() && stack)
                stack->topViewController()->textNotice()->show(notice);
            else if (!error.isSet())
                Announcer::announce(tr("“%1” is packed.").arg(QFileInfo(archivePath).fileName()));
            if (!weakSelf)
                return;
            weakSelf->reloadItemsFromDataSource();
            weakSelf->leaveEditing();
        });
}

// ----------------------------------------------------------------------------- unpacking

std::optional<QString> LocalStorageViewController::unpackingDestination(const QString &fileName)
{
    const QFileInfo file(fileName);
    // ".zip" alone is a hidden name: its folder would be the home folder itself.
    if (file.completeBaseName().isEmpty() ||
        !Utils::isSupportArchiverFileFormat(file.suffix().toLower()))
        return std::nullopt;
    // "." or ".." would pour the archive into the home folder or the folder above it.
    const QString folder = FileOperations::validateItemName(file.completeBaseName(), nullptr)
                               ? file.completeBaseName()
                               : tr("%1 contents").arg(fileName);
    return Utils::documentsPath() + u'/' + folder;
}

void LocalStorageViewController::unpackArchiveAtPath(const QString &archivePath,
                                                     const QString &destinationPath)
{
    QPointer<LocalStorageViewController> weakSelf(this);
    sharedCompressQueue()->checkNeedPassword(
        archivePath, [weakSelf, archivePath, destinationPath](bool needed, const Error &error) {
            if (!weakSelf)
                return;
            // An archive that can't even be asked (gone, unreadable) is said, not unpacked.
            if (error.isSet())
                weakSelf->visibleScreen()->textNotice()->show(error.message);
            else if (needed)
                weakSelf->openPasswordDialogForFile(archivePath, destinationPath);
            else
                weakSelf->decompress(archivePath, destinationPath, QString());
        });
}

void LocalStorageViewController::openPasswordDialogForFile(const QString &archivePath,
                                                           const QString &destinationPath)
{
    QPointer<LocalStorageViewController> weakSelf(this);
    PasswordDialog::present(this, [weakSelf, archivePath, destinationPath](const QString &password) {
        if (weakSelf)
            weakSelf->decompress(archivePath, destinationPath, password);
    });
}

void LocalStorageViewController::decompress(const QString &archivePath,
                                            const QString &destinationPath,
                                            const QString &password)
{
    const QString pickerPath = Utils::trimLocalPath(destinationPath);
    QPointer<LocalStorageViewController> weakSelf(this);
    QPointer<NavigationController> stack(navigationController());
    sharedCompressQueue()->enqueue(
        tr("Unpacking “%1”…").arg(QFileInfo(archivePath).fileName()),
        [archivePath, destinationPath, password](ArchiveProgressDelegate *progress, Error *error) {
            return ArchiverManager::decompressAtPath(archivePath, destinationPath, password,
                                                     error, progress);
        },
        [weakSelf, stack, pickerPath, archivePath, destinationPath](const Error &error) {
            if (weakSelf)
                weakSelf->reloadItemsFromDataSource();
            auto *shownListing = stack ? qobject_cast<LocalStorageViewController *>(
                                             stack->topViewController())
                                       : nullptr;
            const bool destinationShown = shownListing && shownListing != weakSelf &&
                                          shownListing->filePath() == pickerPath;
            // The destination filled only now: the engine unpacks out of sight first.
            if (destinationShown)
                shownListing->reloadItemsFromDataSource();
            if (!error.isSet())
                Announcer::announce(tr("“%1” is unpacked.").arg(QFileInfo(archivePath).fileName()));
            if (!error.isSet() || !stack)
                return;
            // Nothing was made: the screen pushed for the folder would show one that isn't.
            const bool popped = destinationShown && !QFileInfo(destinationPath).isDir();
            if (popped)
                stack->popViewController(true);
            // A cancel is no failure; it is said only where it took the screen away.
            const QString notice =
                error.code != ArchiveErrors::Cancelled ? error.message
                : popped ? tr("Unpacking “%1” was cancelled; its folder was not made.")
                               .arg(QFileInfo(archivePath).fileName())
                         : QString();
            if (!notice.isEmpty())
                stack->topViewController()->textNotice()->show(notice);
            if (error.code == ArchiveErrors::IncorrectPassword && weakSelf)
                weakSelf->openPasswordDialogForFile(archivePath, destinationPath);
        });
    pushListingScreen(pickerPath);
}
