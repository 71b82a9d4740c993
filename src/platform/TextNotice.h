#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

// A short text shown over one screen, hidden on its own after `duration` seconds. Showing a new
// text replaces the one shown and starts the time again.
//
// Thread-safety: main thread only.
class TextNotice : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Each screen has its notice")
    Q_PROPERTY(QString text READ text NOTIFY changed)
    Q_PROPERTY(bool visible READ isVisible NOTIFY changed)

public:
    static constexpr double duration = 2.2;

    explicit TextNotice(QObject *parent = nullptr);

    QString text() const { return m_text; }
    bool isVisible() const { return m_timer.isActive(); }

    void show(const QString &text);
    Q_INVOKABLE void hide();

signals:
    void changed();

private:
    QString m_text;
    QTimer m_timer;
};
