#include "AlertController.h"

#include <QPointer>

AlertController::AlertController(const QString &title, const QString &message, Style style,
                                 QObject *parent)
    : ViewController(parent), m_message(message), m_style(style)
{
    setTitle(title);
}

AlertAction *AlertController::addAction(const QString &title, AlertAction::Style style,
                                        std::function<void()> handler)
{
    auto *action = new AlertAction(title, style, std::move(handler), this);
    m_actions.append(action);
    return action;
}

AlertTextField *AlertController::addTextField(const QString &placeholder, const QString &text,
                                              bool secure)
{
    auto *field = new AlertTextField(placeholder, text, secure, this);
    m_textFields.append(field);
    return field;
}

AlertCheckBox *AlertController::addCheckBox(const QString &title, bool checked)
{
    auto *box = new AlertCheckBox(title, checked, this);
    m_checkBoxes.append(box);
    return box;
}

void AlertController::pick(int index)
{
    if (index < 0 || index >= m_actions.size())
        return;
    // The alert is deleted later, so the handler may still read its fields.
    QPointer<AlertAction> action = m_actions.at(index);
    dismiss(true);
    if (action)
        action->run();
}

void AlertController::cancel()
{
    const auto it = std::find_if(m_actions.cbegin(), m_actions.cend(), [](AlertAction *a) {
        return a->style() == AlertAction::Style::Cancel;
    });
    if (it != m_actions.cend())
        pick(int(it - m_actions.cbegin()));
}

int AlertController::defaultActionIndex() const
{
    if (const qsizetype preferred = m_actions.indexOf(m_preferredAction); preferred >= 0)
        return int(preferred);
    for (qsizetype i = 0; i < m_actions.size(); ++i) {
        if (m_actions.at(i)->style() != AlertAction::Style::Cancel)
            return int(i);
    }
    return -1;
}

QUrl AlertController::pageUrl() const
{
    return QUrl(QStringLiteral("qrc:/Ombrisk/Platform/qml/AlertDialog.qml"));
}
