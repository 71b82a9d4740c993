#include "NameClashQuestion.h"

#include "AlertController.h"

#include <QPointer>

struct NameClashQuestion::Asking {
    QPointer<ViewController> presenter;
    QStringList names;
    QString folderName;
    QList<Answer> answers;
    std::function<void(const QList<Answer> &)> answered;
};

void NameClashQuestion::ask(ViewController *presenter, const QStringList &names,
                            const QString &folderName,
                            std::function<void(const QList<Answer> &answers)> answered)
{
    askNext(std::make_shared<Asking>(
        Asking{presenter, names, folderName, {}, std::move(answered)}));
}

void NameClashQuestion::askNext(const std::shared_ptr<Asking> &asking)
{
    if (!asking->presenter)
        return;
    const qsizetype asked = asking->answers.size();
    if (asked == asking->names.size()) {
        asking->answered(asking->answers);
        return;
    }
    auto *alert = new AlertController(
        tr("“%1” already exists in “%2”.").arg(asking->names.at(asked), asking->folderName),
        tr("If you replace it, the item already there is moved to the Trash."),
        AlertController::Style::Alert);
    QPointer<AlertCheckBox> toAll;
    if (asking->names.size() - asked > 1)
        toAll = alert->addCheckBox(tr("Apply to all"));
    const auto answering = [asking, toAll](Answer answer) {
        return [asking, toAll, answer] { take(asking, answer, toAll && toAll->isChecked()); };
    };
    alert->addAction(tr("Replace"), AlertAction::Style::Default, answering(Answer::Replace));
    alert->setPreferredAction(alert->addAction(tr("Keep Both"), AlertAction::Style::Default,
                                               answering(Answer::KeepBoth)));
    alert->addAction(tr("Stop"), AlertAction::Style::Cancel, answering(Answer::Stop));
    asking->presenter->present(alert, true);
}

// The answer for the clash asked, and with "Apply to all" for every one after it; Stop ends it.
void NameClashQuestion::take(const std::shared_ptr<Asking> &asking, Answer answer, bool toAll)
{
    const qsizetype left = asking->names.size() - asking->answers.size();
    for (qsizetype i = 0; i < (toAll || answer == Answer::Stop ? left : 1); ++i)
        asking->answers.append(answer);
    askNext(asking);
}
