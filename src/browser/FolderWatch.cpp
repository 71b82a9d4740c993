#include "FolderWatch.h"

FolderWatch::FolderWatch(QObject *parent) : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(interval);
    connect(&m_settle, &QTimer::timeout, this, &FolderWatch::changed);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (!m_settle.isActive())
            m_settle.start();
    });
}

void FolderWatch::watch(const QString &folderPath)
{
    // Watched again even when it is the same path: a folder removed and made anew lost its watch.
    if (!m_folder.isEmpty())
        m_watcher.removePath(m_folder);
    if (folderPath != m_folder)
        m_settle.stop();
    m_folder = folderPath;
    // A folder that can't be watched (gone, out of inotify watches) is listed on appearance
    // and by F5 as before.
    if (!m_folder.isEmpty())
        m_watcher.addPath(m_folder);
}
