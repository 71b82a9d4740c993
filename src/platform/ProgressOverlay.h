#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

// The one process-wide overlay shown while long work runs: a status text, a spinner or a
// progress fraction with the item being worked on, and an optional cancel button that emits
// `cancelRequested`.
//
// Several pieces of work may hold it at once (a file action while an archive job runs): each
// `show` is matched by one `dismiss`, and the overlay goes with the last. It shows what the
// newest holder said.
//
// Thread-safety: main thread only; work on a queue reports through DispatchQueue::main.
class ProgressOverlay : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool visible READ isVisible NOTIFY changed)
    Q_PROPERTY(QString status READ status NOTIFY changed)
    Q_PROPERTY(QString detail READ detail NOTIFY changed)
    Q_PROPERTY(double progress READ progress NOTIFY changed)
    Q_PROPERTY(bool cancellable READ isCancellable NOTIFY changed)

public:
    static ProgressOverlay *shared();
    // QML's `ProgressOverlay` is the shared one.
    static ProgressOverlay *create(QQmlEngine *, QJSEngine *);

    bool isVisible() const { return m_holders > 0; }
    QString status() const { return m_status; }
    // The item being worked on ("photos/IMG_0001.jpg"); empty when none is known.
    QString detail() const { return m_detail; }
    // Below 0 while the amount of work is unknown (a spinner is shown).
    double progress() const { return m_progress; }
    bool isCancellable() const { return m_cancellable; }

    void show(const QString &status, bool cancellable = false);
    // The newest holder's status, once it starts (work queued behind other work).
    void setStatus(const QString &status);
    // Whether the cancel button shows (work that can no longer stop: a quit waiting for it).
    void setCancellable(bool cancellable);
    // A fraction below 0 brings the spinner back.
    void setProgress(double fraction, const QString &detail = {});
    void dismiss();

    Q_INVOKABLE void cancel();

signals:
    void changed();
    void cancelRequested();

private:
    ProgressOverlay() = default;

    int m_holders = 0;
    QString m_status;
    QString m_detail;
    double m_progress = -1;
    bool m_cancellable = false;
};
