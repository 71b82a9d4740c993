#include "CompressDialog.h"

#include "AlertController.h"
#include "FileOperations.h"
#include "FreeItemName.h"

#include <QPointer>

QString CompressDialog::defaultName(const QList<KPDocumentPickerItemPtr> &selected)
{
    if (selected.size() != 1)
        return QStringLiteral("archiver.zip");
    const QString name = selected.constFirst()->fileName;
    // A leading dot belongs to the name: ".config" has no extension.
    const qsizetype dot = name.lastIndexOf(u'.');
    return (dot > 0 ? name.left(dot) : name) + QStringLiteral(".zip");
}

AlertController *
CompressDialog::present(ViewController *screen, const QString &defaultName,
                        std::function<void(const QString &typedName, const QString &password)> chosen)
{
    auto *alert = new AlertController(tr("Compress file"), tr("Please enter password for this file."),
                                      AlertController::Style::Alert);
    QPointer<AlertTextField> name = alert->addTextField(tr("Filename"), defaultName);
    QPointer<AlertTextField> password = alert->addTextField(tr("Password"));
    alert->addAction(tr("Cancel"), AlertAction::Style::Cancel);
    alert->addAction(tr("OK"), AlertAction::Style::Default, [name, password, chosen] {
        if (name && password)
            chosen(name->text(), password->text());
    });
    screen->present(alert, true);
    return alert;
}

bool CompressDialog::archiveName(const QString &folder, const QString &typedName,
                                 const QString &defaultName, QString *name, Error *error)
{
    const QString wanted = typedName.isEmpty() ? defaultName : typedName;
    // The name is joined to the home folder: a path in it could write anywhere.
    if (!FileOperations::validateItemName(wanted, error))
        return false;
    *name = FreeItemName::in(folder, wanted);
    return true;
}
