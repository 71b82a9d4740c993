#pragma once

#include <QCoreApplication>
#include <QString>
#include <functional>

class AlertController;
class ViewController;

// The "Create Folder" dialog of the listing screens and of the folder selector: title, message,
// one field, "Cancel" then "Create". "Create" makes the typed name inside `parentFolder`
// (absolute) with every folder on the way ("a/b" makes a and a/b), then runs `finished`, which
// lists the folder again.
//
// The typed name never reaches outside `parentFolder`: an absolute name, "." or ".." as a
// component, a NUL or a way out through a link is refused with a notice on `screen` and makes
// nothing. An empty name or an existing folder changes nothing and says nothing; any other
// failure (a name of spaces alone, a file in the way, no permission) is said in a notice, and
// so is a folder made under a name the listing hides (beginning with a dot).
//
// Thread-safety: main thread only.
class NewFolderDialog {
    Q_DECLARE_TR_FUNCTIONS(NewFolderDialog)

public:
    NewFolderDialog() = delete;

    // Presents the dialog over `screen`; returns it (owned by `screen` while shown).
    static AlertController *present(ViewController *screen, const QString &parentFolder,
                                    std::function<void()> finished);
    // What "Create" does with the typed name.
    static void create(ViewController *screen, const QString &parentFolder,
                       const QString &typedName);
};
