#include "NewFolderDialog.h"

#include "AlertController.h"
#include "FileOperations.h"
#include "LocalFolderListing.h"

#include <QPointer>

AlertController *NewFolderDialog::present(ViewController *screen, const QString &parentFolder,
                                          std::function<void()> finished)
{
    auto *alert = new AlertController(tr("Create Folder"),
                                      tr("Please enter a name for this folder."),
                                      AlertController::Style::Alert);
    AlertTextField *field = alert->addTextField(tr("Folder name"));
    alert->addAction(tr("Cancel"), AlertAction::Style::Cancel);
    QPointer<ViewController> weakScreen(screen);
    QPointer<AlertTextField> weakField(field);
    alert->addAction(tr("Create"), AlertAction::Style::Default,
                     [weakScreen, weakField, parentFolder, finished] {
                         if (!weakScreen || !weakField)
                             return;
                         create(weakScreen, parentFolder, weakField->text());
                         finished();
                     });
    screen->present(alert, true);
    return alert;
}

void NewFolderDialog::create(ViewController *screen, const QString &parentFolder,
                             const QString &typedName)
{
    Error error;
    if (FileOperations::createFolderNamed(parentFolder, typedName, &error)) {
        if (const QString hidden = LocalFolderListing::hiddenNameNotice(typedName); !hidden.isEmpty())
            screen->textNotice()->show(hidden);
        return;
    }
    // Nothing to tell: the field was left empty, or the folder is there already.
    if (error.code == FileOperations::NameEmpty || error.code == FileOperations::FolderExists)
        return;
    screen->textNotice()->show(error.message);
}
