// Moving many items of one folder into its trash. The costs of a single move that do not
// depend on the item (finding the trash, resolving the folder, the date) are paid once; each
// group's info files are written before its items move, so every item still has its info file
// before it is in the trash, and no work is done per item but the two the layout needs.
#include "Trash.h"

#include "BytePath.h"
#include "TrashErrors.h"
#include "TrashInfo.h"
#include "TrashLocation.h"
#include "TrashPlacement.h"

#include <FileNameCodec.h>
#include <FolderHandle.h>
#include <NoReplaceRename.h>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace Trash {

namespace {

// Where the items of one folder go, looked up once.
struct Destination {
    const TrashLocation::OpenTrash &trash;
    int folderFd;
    QByteArray folder;   // absolute, as bytes
    QByteArray recorded; // how the folder is written in info files
};

// One item of a group: its name in files/ once its info file is written, else why not.
struct Slot {
    QByteArray name;
    std::optional<TrashPlacement::Claim> claim;
    QByteArray text;
    Error failure;
};

void moveGroup(const Destination &to, const QList<QByteArray> &names, BatchResult &result)
{
    const auto date = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch());
    const auto dateValue = TrashInfo::dateValue(date);
    std::vector<Slot> pending;
    pending.reserve(size_t(names.size()));
    for (const QByteArray &name : names) {
        Slot slot{name, std::nullopt, {}, {}};
        if (!TrashPlacement::isItemName(name)) {
            slot.failure = TrashErrors::notFound(FileNameCodec::decode(name));
        } else {
            slot.text = TrashInfo::format(TrashPlacement::recordedPath(to.recorded, name), dateValue);
            slot.claim = TrashPlacement::claim(to.trash.info.get(), TrashPlacement::baseName(name),
                                               slot.text);
            if (!slot.claim)
                slot.failure = TrashErrors::notMoved(FileNameCodec::decode(name), errno);
        }
        pending.push_back(std::move(slot));
    }
    for (const Slot &slot : pending) {
        if (!slot.claim) {
            result.failures.append(slot.failure);
            continue;
        }
        auto placed = std::optional<QByteArray>(slot.claim->name);
        if (!NoReplaceRename::move(to.folderFd, slot.name.constData(), to.trash.files.get(),
                                   slot.claim->name.constData())) {
            const int reason = errno;
            ::unlinkat(to.trash.info.get(),
                       (slot.claim->name + TrashPlacement::infoSuffix).constData(), 0);
            // A name taken in files/ alone (an item left without its info file): the next one.
            placed = reason == EEXIST ? TrashPlacement::place(to.trash, to.folderFd, slot.name,
                                                              TrashPlacement::baseName(slot.name),
                                                              slot.text, slot.claim->attempt + 1)
                                      : std::nullopt;
            if (!placed) {
                const auto shown = FileNameCodec::decode(slot.name);
                const int why = reason == EEXIST ? errno : reason;
                result.failures.append(why == ENOENT ? TrashErrors::notFound(shown)
                                                     : TrashErrors::notMoved(shown, why));
                continue;
            }
        }
        const auto original = BytePath::joined(to.folder, slot.name);
        result.entries.append(
            TrashEntry{to.trash.directory, *placed, FileNameCodec::decode(original), date, original});
    }
}

} // namespace

BatchResult moveAllToTrash(const QString &folderPath, const QList<QByteArray> &names,
                           const BatchProgress &progress)
{
    BatchResult result;
    const auto folder =
        FileNameCodec::encode(QDir::cleanPath(QFileInfo(folderPath).absoluteFilePath()));
    const Fd folderFd(::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    struct stat info {};
    if (!folderFd.isValid() || ::fstat(folderFd.get(), &info) != 0) {
        for (const QByteArray &name : names)
            result.failures.append(TrashErrors::notFound(FileNameCodec::decode(name)));
        return result;
    }
    // The trash is asked again for each item only while there is none: each failure names its item.
    std::optional<TrashLocation::OpenTrash> trash;
    qsizetype done = 0;
    for (; done < names.size(); ++done) {
        Error error;
        trash = TrashLocation::forFolder(info.st_dev, folder, FileNameCodec::decode(names[done]),
                                         &error);
        if (trash)
            break;
        result.failures.append(error);
    }
    if (!trash)
        return result;
    const Destination to{*trash, folderFd.get(), folder,
                         TrashPlacement::recordedFolder(folder, trash->topdir)};
    while (done < names.size()) {
        const auto group = names.mid(done, TrashPlacement::groupSize);
        moveGroup(to, group, result);
        done += group.size();
        if (progress && !progress(done))
            break;
    }
    return result;
}

} // namespace Trash
