#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>
#include <functional>

class QTimer;

// Short texts shown over one screen, each hidden on its own some seconds after it was shown
// (`duration` unless given). Several may stand at once (one per failing item of a move, say),
// oldest first. A text may carry one button ("Undo") whose action runs at most once and takes
// the text away.
//
// Thread-safety: main thread only.
class TextNotice : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Each screen has its notice")
    Q_PROPERTY(QStringList texts READ texts NOTIFY changed)
    // One map per standing text: "text", and "actionTitle" (empty: no button).
    Q_PROPERTY(QVariantList entries READ entries NOTIFY changed)
    Q_PROPERTY(QString text READ text NOTIFY changed)
    Q_PROPERTY(bool visible READ isVisible NOTIFY changed)
    Q_PROPERTY(bool hasAction READ hasAction NOTIFY changed)

public:
    static constexpr double duration = 2.2;

    explicit TextNotice(QObject *parent = nullptr);

    QStringList texts() const;
    QVariantList entries() const;
    // The newest text standing; empty when none.
    QString text() const;
    bool isVisible() const { return !m_shown.isEmpty(); }
    // Whether a standing text has a button.
    bool hasAction() const;
    // The button title of the text at `index`; empty when it has none.
    QString actionTitle(int index) const;

    void show(const QString &text);
    // A text with a button titled `actionTitle` that runs `action`, standing `seconds`.
    void show(const QString &text, const QString &actionTitle, std::function<void()> action,
              double seconds);
    // The button of the text at `index`: hides that text, then runs its action.
    Q_INVOKABLE void runAction(int index);
    // The button of the newest text that has one (the keyboard's way to it); false when none.
    Q_INVOKABLE bool runNewestAction();
    // Hides every text standing.
    Q_INVOKABLE void hide();

signals:
    void changed();

private:
    struct Shown {
        QString text;
        QTimer *timer;
        QString actionTitle;
        std::function<void()> action;
    };
    void expire(QTimer *timer);

    QList<Shown> m_shown;
};
