#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The one process-wide overlay shown while long work runs: a status text, a spinner or a
// progress fraction, and an optional cancel button that emits `cancelRequested`.
//
// Thread-safety: main thread only; work on a queue reports through DispatchQueue::main.
class ProgressOverlay : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("There is one shared overlay")
    Q_PROPERTY(bool visible READ isVisible NOTIFY changed)
    Q_PROPERTY(QString status READ status NOTIFY changed)
    Q_PROPERTY(double progress READ progress NOTIFY changed)
    Q_PROPERTY(bool cancellable READ isCancellable NOTIFY changed)

public:
    static ProgressOverlay *shared();

    bool isVisible() const { return m_visible; }
    QString status() const { return m_status; }
    // Below 0 while the amount of work is unknown (a spinner is shown).
    double progress() const { return m_progress; }
    bool isCancellable() const { return m_cancellable; }

    void show(const QString &status, bool cancellable = false);
    void setProgress(double fraction);
    void dismiss();

    Q_INVOKABLE void cancel();

signals:
    void changed();
    void cancelRequested();

private:
    bool m_visible = false;
    QString m_status;
    double m_progress = -1;
    bool m_cancellable = false;
};
