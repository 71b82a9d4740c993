#include "TreeWalk.h"

#include "FolderHandle.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace {

struct Level {
    std::vector<TreeWalk::Item> items;
    size_t next = 0;
    dev_t device = 0;
    ino_t inode = 0;
    QByteArray relative;
};

// The folder's names, read whole and told; false (errno set) when it can't be listed or
// looked at.
bool readLevel(int folderFd, const QByteArray &relative, const TreeWalk::Visitor &visitor,
               Level *level)
{
    struct stat info {};
    if (::fstat(folderFd, &info) != 0)
        return false;
    level->device = info.st_dev;
    level->inode = info.st_ino;
    level->relative = relative;
    if (!FolderHandle::forEachItem(folderFd, [level](const dirent &item) {
            level->items.push_back({QByteArray(item.d_name), item.d_type, item.d_ino});
            return true;
        }))
        return false;
    if (visitor.listed)
        visitor.listed(relative, level->items);
    return true;
}

QByteArray joined(const QByteArray &relative, const QByteArray &name)
{
    return relative.isEmpty() ? name : relative + '/' + name;
}

} // namespace

bool TreeWalk::run(int rootFd, const Visitor &visitor)
{
    Fd current(::openat(rootFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::vector<Level> levels(1);
    if (!current.isValid() || !readLevel(current.get(), QByteArray(), visitor, &levels.back()))
        return visitor.unreadable && visitor.unreadable(QByteArray());
    while (true) {
        auto &level = levels.back();
        if (level.next < level.items.size()) {
            const auto &item = level.items[level.next++];
            const auto relative = joined(level.relative, item.name);
            const auto step = visitor.visit(current.get(), item, relative);
            if (step == Step::Stop)
                return false;
            if (step == Step::Next)
                continue;
            auto child = FolderHandle::openChild(current.get(), item.name.constData(), O_RDONLY);
            Level entered;
            if (!child.isValid() || !readLevel(child.get(), relative, visitor, &entered)) {
                if (visitor.unreadable && visitor.unreadable(relative))
                    continue;
                return false;
            }
            levels.push_back(std::move(entered));
            current = std::move(child);
            continue;
        }
        if (levels.size() == 1)
            return true;
        levels.pop_back();
        auto &parentLevel = levels.back();
        Fd parent(::openat(current.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        struct stat info {};
        if (!parent.isValid() || ::fstat(parent.get(), &info) != 0)
            return false;
        if (info.st_dev != parentLevel.device || info.st_ino != parentLevel.inode) {
            errno = ESTALE; // moved away meanwhile: where it leads is not the tree walked
            return false;
        }
        current = std::move(parent);
        const auto &folder = parentLevel.items[parentLevel.next - 1];
        if (visitor.left && !visitor.left(current.get(), folder, joined(parentLevel.relative, folder.name)))
            return false;
    }
}
