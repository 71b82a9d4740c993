#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

// Tells when the folder shown changes on the disk, whoever changed it (inotify through
// QFileSystemWatcher). A burst of changes (a copy of 10,000 files) is told at most once per
// `interval`: the first change starts the clock and the ones within it ride along, so a long
// burst is told a few times while it lasts and once more shortly after it ends.
//
// Thread-safety: main thread only.
class FolderWatch : public QObject {
    Q_OBJECT

public:
    static constexpr int interval = 250; // ms

    explicit FolderWatch(QObject *parent = nullptr);

    // Watches `folderPath` (absolute) from now on, instead of the one before; empty: none.
    void watch(const QString &folderPath);
    QString watched() const { return m_folder; }

signals:
    void changed();

private:
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_folder;
};
