#pragma once

#include "Error.h"
#include "KPDocumentPickerItem.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <functional>

class AlertController;
class ViewController;

// The "Compress file" dialog of the listing screens: a name field preset with the default
// name, an ordinary password field, "Cancel" then "OK"; and where the typed name puts the
// archive.
//
// Thread-safety: main thread only; `defaultName` and `archiveName` keep no state.
class CompressDialog {
    Q_DECLARE_TR_FUNCTIONS(CompressDialog)

public:
    CompressDialog() = delete;

    // "archiver.zip", or for one selected item its name without its extension plus ".zip"
    // (a folder Photos gives Photos.zip, a.tar.gz gives a.tar.zip).
    static QString defaultName(const QList<KPDocumentPickerItemPtr> &selected);

    // Presents the dialog over `screen`; "OK" gives `chosen` both fields as typed. Returns the
    // dialog (owned by `screen` while shown).
    static AlertController *
    present(ViewController *screen, const QString &defaultName,
            std::function<void(const QString &typedName, const QString &password)> chosen);

    // The name the archive gets in `folder` for the name typed: as typed (a name without
    // ".zip" stays so); the default name for an empty field; the next free name ("Photos
    // 2.zip") when an item of that name is there, so that nothing is replaced. A name that is
    // no single item name ("a/b.zip", "..") fails with the file operations' error.
    static bool archiveName(const QString &folder, const QString &typedName,
                            const QString &defaultName, QString *name, Error *error);
};
