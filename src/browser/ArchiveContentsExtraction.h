#pragma once

#include "EntrySelection.h"

#include <QObject>
#include <QString>

class ArchiveContentsViewController;

// The contents screen's "Extract": the selected rows (folders with all they hold) go into a
// folder the user picks with the folder selector, opened on the archive's own folder. A
// namesake there is asked about (Replace, Keep Both, Stop); the work runs on the shared
// compress queue behind the progress overlay, through every check of a full unpacking, and
// an encrypted entry among them asks for the password as unpacking does (again after a wrong
// one). Edit mode ends when the work does; a notice says how many items went where.
//
// Thread-safety: main thread only; the job gets plain values.
class ArchiveContentsExtraction : public QObject {
    Q_OBJECT

public:
    explicit ArchiveContentsExtraction(ArchiveContentsViewController *screen);

    void presentFolderSelector();
    // The folder selector's choice (the shown picker path of the home folder).
    void extractSelectionInto(const QString &pickerPath);

private:
    void extract(const EntrySelection &selection, const QString &destination);

    ArchiveContentsViewController *m_screen;
};
