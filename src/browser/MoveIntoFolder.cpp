#include "MoveIntoFolder.h"

#include "FileOperations.h"
#include "ItemsIntoFolder.h"
#include "KeepBothMove.h"
#include "Trash.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace {

std::optional<struct stat> statOf(const QString &path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return info;
}

// Where the item itself lies, its folder's links resolved (the item, a link perhaps, not).
QString realLocation(const QString &path)
{
    const QFileInfo item(path);
    return QFileInfo(item.path()).canonicalFilePath() + u'/' + item.fileName();
}

} // namespace

QList<int> MoveIntoFolder::clashes(const QStringList &sources, const QString &folder)
{
    QList<int> found;
    for (qsizetype i = 0; i < sources.size(); ++i) {
        const auto there = statOf(folder + u'/' + QFileInfo(sources.at(i)).fileName());
        const auto moved = there ? statOf(sources.at(i)) : std::nullopt;
        if (there && !(moved && moved->st_dev == there->st_dev && moved->st_ino == there->st_ino))
            found.append(int(i));
    }
    return found;
}

bool MoveIntoFolder::moveOne(const QString &source, const QString &folder,
                             std::optional<Answer> answer, Error *error)
{
    const QString name = QFileInfo(source).fileName();
    if (answer == Answer::KeepBoth)
        return KeepBothMove::moveInto(source, folder, name, error).has_value();
    if (answer == Answer::Replace)
        return replace(source, folder + u'/' + name, error);
    return FileOperations::moveItemAtPath(source, folder + u'/' + name, false, error);
}

bool MoveIntoFolder::replace(const QString &source, const QString &target, Error *error)
{
    const QString name = QFileInfo(target).fileName();
    // The namesake would go to the trash with the item inside it.
    if (realLocation(source).startsWith(realLocation(target) + u'/'))
        return fail(error, Error(FileOperations::errorDomain, FileOperations::TargetHoldsSource,
                                 tr("“%1” can't replace the folder holding it. Choose another "
                                    "destination.")
                                     .arg(name)));
    return replaceWith(target, [&](Error *moveError) {
        return FileOperations::moveItemAtPath(source, target, false, moveError);
    }, error);
}

bool MoveIntoFolder::replaceWith(const QString &target,
                                 const std::function<bool(Error *)> &putInPlace, Error *error)
{
    const QString name = QFileInfo(target).fileName();
    Error trashError;
    const auto setAside = Trash::moveToTrash(target, &trashError);
    if (!setAside && statOf(target)) {
        return fail(error, Error(trashError.domain, trashError.code,
                                 tr("Nothing took the place of “%1”: the item of that name "
                                    "there could not be moved to the Trash. %2")
                                     .arg(name, trashError.message)));
    }
    if (putInPlace(error))
        return true;
    if (setAside)
        Trash::restore(*setAside, nullptr);
    return false;
}

void MoveIntoFolder::run(ViewController *presenter, const QStringList &sources,
                         const QString &folder, const QString &folderName,
                         std::function<void(const QList<Error> &failures)> finished)
{
    ItemsIntoFolder::run(
        presenter, sources, folder, folderName, tr("Moving..."),
        [folder](const QString &source, std::optional<Answer> answer, Error *error) {
            return moveOne(source, folder, answer, error);
        },
        std::move(finished));
}
