#include "CopyIntoFolder.h"

#include "FileOperations.h"
#include "ItemCopy.h"
#include "ItemsIntoFolder.h"
#include "LocalPaths.h"
#include "MoveIntoFolder.h"

#include <QFileInfo>

bool CopyIntoFolder::copyOne(const QString &source, const QString &folder,
                             std::optional<Answer> answer, const FileContentCopy::Advance &advance,
                             Error *error)
{
    const QString name = QFileInfo(source).fileName();
    auto partial = ItemCopy::copyAside(source, folder, advance, error);
    if (!partial)
        return false;
    if (answer == Answer::Replace) {
        const bool replaced = MoveIntoFolder::replaceWith(
            folder + u'/' + name,
            [&](Error *placeError) {
                return ItemCopy::place(*partial, name, false, placeError).has_value();
            },
            error);
        return replaced; // else the namesake stayed, and the copy goes with `partial`
    }
    const bool ownFolder =
        LocalPaths::canonical(QFileInfo(source).path()) == LocalPaths::canonical(folder);
    return ItemCopy::place(*partial, name, answer == Answer::KeepBoth || ownFolder, error)
        .has_value();
}

void CopyIntoFolder::run(ViewController *presenter, const QStringList &sources,
                         const QString &folder, const QString &folderName,
                         std::function<void(const QList<Error> &failures)> finished)
{
    auto progress = std::make_shared<FileActionJob::Progress>();
    ItemsIntoFolder::run(
        presenter, sources, folder, folderName, tr("Copying..."),
        [folder, progress](const QString &source, std::optional<Answer> answer, Error *error) {
            progress->setItem(QFileInfo(source).fileName());
            return copyOne(source, folder, answer, progress->advance(), error);
        },
        std::move(finished), progress);
}
