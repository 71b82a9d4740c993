#include "ListingArchiveWorkflows.h"

#include "Announcer.h"
#include "ArchiverManager.h"
#include "CompressDialog.h"
#include "CompressQueue.h"
#include "FileOperations.h"
#include "HomePaths.h"
#include "LocalStorageViewController.h"
#include "NavigationController.h"
#include "PasswordDialog.h"
#include "Utils.h"

#include <QFileInfo>
#include <QPointer>

ListingArchiveWorkflows::ListingArchiveWorkflows(LocalStorageViewController *screen)
    : QObject(screen), m_screen(screen)
{
    // The queue answers the overlay's "Cancel" from its first use on.
    CompressQueue::shared();
}

void ListingArchiveWorkflows::pushListingScreen(const QString &pickerPath)
{
    auto *stack = m_screen->navigationController();
    if (!stack)
        return;
    // A retry after a wrong password finds the destination shown already.
    const auto *shown = qobject_cast<LocalStorageViewController *>(stack->topViewController());
    if (shown && shown->filePath() == pickerPath)
        return;
    auto *root = m_screen->rootViewController() ? m_screen->rootViewController() : m_screen;
    auto *screen = new LocalStorageViewController(root, pickerPath);
    screen->setTitle(QFileInfo(pickerPath).fileName());
    screen->setSession(m_screen->session());
    stack->pushViewController(screen, true);
}

// ----------------------------------------------------------------------------- packing

void ListingArchiveWorkflows::compressSelection()
{
    const QString defaultName = CompressDialog::defaultName(m_screen->selectedItems());
    QPointer<ListingArchiveWorkflows> weakSelf(this);
    CompressDialog::present(m_screen, defaultName,
                            [weakSelf, defaultName](const QString &name, const QString &password) {
                                if (weakSelf)
                                    weakSelf->compressAs(name, defaultName, password);
                            });
}

void ListingArchiveWorkflows::compressAs(const QString &typedName, const QString &defaultName,
                                         const QString &password)
{
    QString name;
    Error error;
    if (!CompressDialog::archiveName(Utils::documentsPath(), typedName, defaultName, &name,
                                     &error)) {
        m_screen->textNotice()->show(error.message);
        return;
    }
    const QString wanted = typedName.isEmpty() ? defaultName : typedName;
    pack(Utils::documentsPath() + u'/' + name, password,
         name == wanted
             ? QString()
             : tr("“%1” already exists; the archive is saved as “%2”.").arg(wanted, name));
}

void ListingArchiveWorkflows::pack(const QString &archivePath, const QString &password,
                                   const QString &successNotice)
{
    QStringList paths;
    for (const auto &item : m_screen->selectedItems())
        paths.append(item->isFolder ? m_screen->pathOnDisk(item) + u'/'
                                    : m_screen->pathOnDisk(item));
    const QString usedPassword = Utils::isEmptyString(password) ? QString() : password;
    QPointer<LocalStorageViewController> screen(m_screen);
    QPointer<NavigationController> stack(m_screen->navigationController());
    CompressQueue::shared()->enqueue(
        tr("Packing “%1”…").arg(QFileInfo(archivePath).fileName()),
        [paths, archivePath, usedPassword](ArchiveProgressDelegate *progress, Error *error) {
            return ArchiverManager::compressZipAtPaths(paths, archivePath, usedPassword, error,
                                                       progress);
        },
        [screen, stack, successNotice, archivePath](const Error &error) {
            const QString notice = !error.isSet()                          ? successNotice
                                   : error.code == ArchiveErrors::Cancelled ? QString()
                                                                            : error.message;
            if (!notice.isEmpty() && stack)
                stack->topViewController()->textNotice()->show(notice);
            else if (!error.isSet())
                Announcer::announce(tr("“%1” is packed.").arg(QFileInfo(archivePath).fileName()));
            if (!screen)
                return;
            screen->reloadItemsFromDataSource();
            screen->leaveEditing();
        });
}

// ----------------------------------------------------------------------------- unpacking

std::optional<QString> ListingArchiveWorkflows::unpackingDestination(const QString &fileName)
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
    return HomePaths::diskPath(QStringLiteral("/"), folder);
}

void ListingArchiveWorkflows::unpackArchiveAtPath(const QString &archivePath,
                                                  const QString &destinationPath)
{
    QPointer<ListingArchiveWorkflows> weakSelf(this);
    CompressQueue::shared()->checkNeedPassword(
        archivePath, [weakSelf, archivePath, destinationPath](bool needed, const Error &error) {
            if (!weakSelf)
                return;
            // An archive that can't even be asked (gone, unreadable) is said, not unpacked.
            if (error.isSet())
                weakSelf->m_screen->visibleScreen()->textNotice()->show(error.message);
            else if (needed)
                weakSelf->openPasswordDialogForFile(archivePath, destinationPath);
            else
                weakSelf->decompress(archivePath, destinationPath, QString());
        });
}

void ListingArchiveWorkflows::openPasswordDialogForFile(const QString &archivePath,
                                                        const QString &destinationPath)
{
    QPointer<ListingArchiveWorkflows> weakSelf(this);
    PasswordDialog::present(m_screen,
                            [weakSelf, archivePath, destinationPath](const QString &password) {
                                if (weakSelf)
                                    weakSelf->decompress(archivePath, destinationPath, password);
                            });
}

QString ListingArchiveWorkflows::replacedNotice(const ExtractionResult &result)
{
    if (result.replacedInTrash)
        return tr("%n item(s) were replaced; they are in the Trash, in “%1”.", nullptr,
                  result.replacedCount)
            .arg(QFileInfo(result.replacedInTrash->originalPath).fileName());
    return tr("%n item(s) were replaced; they are kept in “%1”.", nullptr, result.replacedCount)
        .arg(QFileInfo(result.replacedFolder).fileName());
}

void ListingArchiveWorkflows::decompress(const QString &archivePath,
                                         const QString &destinationPath, const QString &password)
{
    // Nothing to show for a destination outside the home folder.
    const auto pickerPath = HomePaths::listingPath(destinationPath);
    QPointer<ListingArchiveWorkflows> weakSelf(this);
    QPointer<NavigationController> stack(m_screen->navigationController());
    // Written by the job on the queue, read once it has ended.
    auto result = std::make_shared<ExtractionResult>();
    CompressQueue::shared()->enqueue(
        tr("Unpacking “%1”…").arg(QFileInfo(archivePath).fileName()),
        [archivePath, destinationPath, password, result](ArchiveProgressDelegate *progress,
                                                         Error *error) {
            return ArchiverManager::decompressAtPath(archivePath, destinationPath, password, error,
                                                     progress, result.get());
        },
        [weakSelf, stack, pickerPath, archivePath, destinationPath, result](const Error &error) {
            LocalStorageViewController *starter = weakSelf ? weakSelf->m_screen : nullptr;
            if (starter)
                starter->reloadItemsFromDataSource();
            auto *shownListing = stack ? qobject_cast<LocalStorageViewController *>(
                                             stack->topViewController())
                                       : nullptr;
            const bool destinationShown = shownListing && shownListing != starter &&
                                          shownListing->filePath() == pickerPath;
            // The destination filled only now: the engine unpacks out of sight first.
            if (destinationShown)
                shownListing->reloadItemsFromDataSource();
            if (!error.isSet())
                Announcer::announce(tr("“%1” is unpacked.").arg(QFileInfo(archivePath).fileName()));
            if (!error.isSet() && stack && result->replacedCount > 0)
                stack->topViewController()->textNotice()->show(replacedNotice(*result));
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
    if (pickerPath)
        pushListingScreen(*pickerPath);
}
