#include "IncomingFile.h"

#include "AppDirectories.h"
#include "DispatchQueue.h"
#include "FileOperations.h"
#include "KeepBothMove.h"
#include "ListingArchiveWorkflows.h"
#include "LocalStorageViewController.h"
#include "Utils.h"

#include <QFileInfo>

std::optional<QString> IncomingFile::moveIntoHome(const QString &name, Error *error)
{
    if (!FileOperations::validateItemName(name, error))
        return std::nullopt;
    const QString source = AppDirectories::inboxName + u'/' + name;
    if (!QFileInfo(FileOperations::resolvedPath(source)).exists()) {
        fail(error, Error(FileOperations::errorDomain, FileOperations::ItemNotFound,
                          tr("“%1” is not in the Inbox. Hand the file over to Ombrisk again.")
                              .arg(name)));
        return std::nullopt;
    }
    return KeepBothMove::moveInto(source, Utils::documentsPath(), name, error);
}

QString IncomingFile::failureNotice(const QString &name, const Error &error)
{
    return tr("“%1” could not be brought into the home folder. %2").arg(name, error.message);
}

void IncomingFile::receive(LocalStorageViewController *home, const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    Error error;
    const auto target = moveIntoHome(name, &error);
    if (!target) {
        home->visibleScreen()->textNotice()->show(failureNotice(name, error));
        return;
    }
    // An archive too: its password may be asked and refused, or its unpacking cancelled, and
    // it still lies at the top.
    DispatchQueue::mainAfter(relistDelay, home, [home] { home->reloadItemsFromDataSource(); });
    if (const auto destination =
            ListingArchiveWorkflows::unpackingDestination(QFileInfo(*target).fileName()))
        home->archiveWorkflows()->unpackArchiveAtPath(*target, *destination);
}
