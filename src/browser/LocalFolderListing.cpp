#include "LocalFolderListing.h"

#include "Descriptors.h"
#include "DispatchQueue.h"
#include "Utils.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QThreadPool>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace {

KPDocumentPickerItemPtr itemFor(int folderFd, const char *name)
{
    auto item = std::make_shared<KPDocumentPickerItem>();
    item->fileName = QFile::decodeName(name);
    struct stat st {};
    if (fstatat(folderFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return item; // a file of size 0 without a date
    item->isFolder = S_ISDIR(st.st_mode);
    item->fileSize = item->isFolder ? 0 : quint64(st.st_size);
    // A moment, kept in UTC: reading it back costs no time-zone look-up (formatters show it
    // in local time).
    item->lastModifiedDate = QDateTime::fromMSecsSinceEpoch(
        qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000, Qt::UTC);
    return item;
}

} // namespace

namespace LocalFolderListing {

KPDocumentPickerItems itemsInFolder(const QString &folderPath)
{
    KPDocumentPickerItems items;
    const DirStream dir(opendir(QFile::encodeName(folderPath).constData()));
    if (!dir)
        return items;
    const int fd = dirfd(dir.get());
    while (const dirent *entry = readdir(dir.get())) {
        if (entry->d_name[0] == '.')
            continue;
        items.append(itemFor(fd, entry->d_name));
    }
    return items;
}

QString titleForFilePath(const QString &pickerPath)
{
    if (pickerPath.isEmpty() || pickerPath == QLatin1String("/"))
        return QCoreApplication::translate("LocalStorageViewController", "Documents");
    return QDir::cleanPath(pickerPath).section(QLatin1Char('/'), -1);
}

QString hiddenNameNotice(const QString &typedName)
{
    const auto components = typedName.split(u'/', Qt::SkipEmptyParts);
    const bool hidden = std::any_of(components.begin(), components.end(),
                                    [](const QString &c) { return c.startsWith(u'.'); });
    return hidden ? QCoreApplication::translate("LocalStorageViewController",
                                                "“%1” is kept but not shown. Names beginning "
                                                "with a dot are hidden.")
                        .arg(typedName)
                  : QString();
}

} // namespace LocalFolderListing

void LocalFolderListing::itemsInFolderLater(
    const QString &folderPath, double delaySeconds, QObject *context,
    std::function<void(const KPDocumentPickerItems &)> handler)
{
    QElapsedTimer clock;
    clock.start();
    QPointer<QObject> guard(context);
    QThreadPool::globalInstance()->start([=] {
        const KPDocumentPickerItems items = itemsInFolder(folderPath);
        // Back on the main thread before the context is looked at: it may go meanwhile.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [=] {
                if (!guard)
                    return;
                const double left = std::max(0.0, delaySeconds - clock.elapsed() / 1000.0);
                DispatchQueue::mainAfter(left, guard, [handler, items] { handler(items); });
            },
            Qt::QueuedConnection);
    });
}
