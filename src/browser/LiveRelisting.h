#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class FolderWatch;
class KPDocumentPickerViewController;

// Keeps a listing screen in step with its folder on the disk while it is shown: a change told
// by FolderWatch lists the folder again, one listing at a time until it is shown, and the rows
// selected before come back selected (by name) once it is, edit mode lasting. While a file job
// holds the progress overlay the folder is not watched: it is looked at once when the job ends.
//
// Thread-safety: main thread only.
class LiveRelisting : public QObject {
    Q_OBJECT

public:
    explicit LiveRelisting(KPDocumentPickerViewController *screen);

    // Follows `folderPath` (absolute) from now on; empty: none.
    void follow(const QString &folderPath);
    // How many listings the folder's changes have asked for.
    int relistCount() const { return m_relistCount; }

private:
    void overlayChanged();
    void folderChanged();
    void listingShown();

    KPDocumentPickerViewController *m_screen;
    FolderWatch *m_watch;
    QString m_folder; // followed; watched unless a file job runs
    QStringList m_keptSelection; // names selected when the folder changed
    bool m_changedWhileListing = false;
    bool m_jobRunning = false;       // a file job holds the overlay
    bool m_changedDuringJob = false; // the folder may have changed while a file job ran
    bool m_listingUnshown = false;
    int m_relistCount = 0;
};
