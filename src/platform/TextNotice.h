#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

class QTimer;

// Short texts shown over one screen, each hidden on its own `duration` seconds after it was
// shown. Several may stand at once (one per failing item of a move, say), oldest first.
//
// Thread-safety: main thread only.
class TextNotice : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Each screen has its notice")
    Q_PROPERTY(QStringList texts READ texts NOTIFY changed)
    Q_PROPERTY(QString text READ text NOTIFY changed)
    Q_PROPERTY(bool visible READ isVisible NOTIFY changed)

public:
    static constexpr double duration = 2.2;

    explicit TextNotice(QObject *parent = nullptr);

    QStringList texts() const;
    // The newest text standing; empty when none.
    QString text() const;
    bool isVisible() const { return !m_shown.isEmpty(); }

    void show(const QString &text);
    // Hides every text standing.
    Q_INVOKABLE void hide();

signals:
    void changed();

private:
    struct Shown {
        QString text;
        QTimer *timer;
    };
    void expire(QTimer *timer);

    QList<Shown> m_shown;
};
