#pragma once

#include "ViewController.h"

#include <QString>
#include <functional>

// One button of an alert, with what it does.
class AlertAction : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Alert actions are made in C++")
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(Style style READ style CONSTANT)

public:
    enum class Style { Default, Cancel, Destructive };
    Q_ENUM(Style)

    AlertAction(const QString &title, Style style, std::function<void()> handler,
                QObject *parent = nullptr)
        : QObject(parent), m_title(title), m_style(style), m_handler(std::move(handler))
    {
    }

    QString title() const { return m_title; }
    Style style() const { return m_style; }
    void run() const
    {
        if (m_handler)
            m_handler();
    }

private:
    QString m_title;
    Style m_style;
    std::function<void()> m_handler;
};

// One text field of an alert; QML writes what the user types into `text`.
class AlertTextField : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Alert text fields are made in C++")
    Q_PROPERTY(QString placeholder READ placeholder CONSTANT)
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(bool secure READ isSecure CONSTANT)

public:
    AlertTextField(const QString &placeholder, const QString &text, bool secure, QObject *parent)
        : QObject(parent), m_placeholder(placeholder), m_text(text), m_secure(secure)
    {
    }
    QString placeholder() const { return m_placeholder; }
    QString text() const { return m_text; }
    void setText(const QString &text)
    {
        if (text == m_text)
            return;
        m_text = text;
        emit textChanged();
    }
    bool isSecure() const { return m_secure; }

signals:
    void textChanged();

private:
    QString m_placeholder;
    QString m_text;
    bool m_secure;
};

// One check box of an alert ("Apply to all"); QML writes the user's choice into `checked`.
class AlertCheckBox : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Alert check boxes are made in C++")
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(bool checked READ isChecked WRITE setChecked NOTIFY checkedChanged)

public:
    AlertCheckBox(const QString &title, bool checked, QObject *parent)
        : QObject(parent), m_title(title), m_checked(checked)
    {
    }
    QString title() const { return m_title; }
    bool isChecked() const { return m_checked; }
    void setChecked(bool checked)
    {
        if (checked == m_checked)
            return;
        m_checked = checked;
        emit checkedChanged();
    }

signals:
    void checkedChanged();

private:
    QString m_title;
    bool m_checked;
};

// A dialog (an alert, or an action sheet of choices) with a title, a message, text fields,
// check boxes and buttons in the order they were added. Picking a button dismisses the dialog
// and then runs the button's handler, which reads the fields and boxes.
//
// Thread-safety: main thread only.
class AlertController : public ViewController {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Alerts are made in C++")
    Q_PROPERTY(QString message READ message CONSTANT)
    Q_PROPERTY(Style style READ style CONSTANT)
    Q_PROPERTY(QList<AlertAction *> actions READ actions CONSTANT)
    Q_PROPERTY(QList<AlertTextField *> textFields READ textFields CONSTANT)
    Q_PROPERTY(QList<AlertCheckBox *> checkBoxes READ checkBoxes CONSTANT)
    Q_PROPERTY(int defaultActionIndex READ defaultActionIndex CONSTANT)

public:
    enum class Style { Alert, ActionSheet };
    Q_ENUM(Style)

    AlertController(const QString &title, const QString &message, Style style,
                    QObject *parent = nullptr);

    QString message() const { return m_message; }
    Style style() const { return m_style; }

    AlertAction *addAction(const QString &title, AlertAction::Style style,
                           std::function<void()> handler = {});
    AlertTextField *addTextField(const QString &placeholder, const QString &text = {},
                                 bool secure = false);
    AlertCheckBox *addCheckBox(const QString &title, bool checked = false);
    QList<AlertAction *> actions() const { return m_actions; }
    QList<AlertTextField *> textFields() const { return m_textFields; }
    QList<AlertCheckBox *> checkBoxes() const { return m_checkBoxes; }
    // The button Enter picks instead of the first that does not cancel (one of this alert's).
    void setPreferredAction(AlertAction *action) { m_preferredAction = action; }

    // The user picked the button at `index` (Escape picks the cancel button, if any).
    Q_INVOKABLE void pick(int index);
    Q_INVOKABLE void cancel();
    // The button Enter picks: the preferred one, else the first that does not cancel; -1 when
    // all cancel.
    int defaultActionIndex() const;
    // Enter or a field's Return: picks the default button.
    Q_INVOKABLE void accept() { pick(defaultActionIndex()); }

    bool coversPresenter() const override { return false; }
    QUrl pageUrl() const override;

private:
    QString m_message;
    Style m_style;
    QList<AlertAction *> m_actions;
    QList<AlertTextField *> m_textFields;
    QList<AlertCheckBox *> m_checkBoxes;
    AlertAction *m_preferredAction = nullptr;
};
