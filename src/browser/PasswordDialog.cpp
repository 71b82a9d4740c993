#include "PasswordDialog.h"

#include "AlertController.h"

#include <QPointer>

AlertController *PasswordDialog::present(ViewController *screen,
                                         std::function<void(const QString &password)> chosen,
                                         std::function<void()> cancelled)
{
    auto *alert = new AlertController(tr("Password Protected"),
                                      tr("Please enter password for this file."),
                                      AlertController::Style::Alert);
    QPointer<AlertTextField> field = alert->addTextField(tr("Password"));
    alert->addAction(tr("Cancel"), AlertAction::Style::Cancel, std::move(cancelled));
    alert->addAction(tr("OK"), AlertAction::Style::Default, [field, chosen] {
        if (field)
            chosen(field->text());
    });
    screen->present(alert, true);
    return alert;
}
