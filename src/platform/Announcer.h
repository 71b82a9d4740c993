#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

// Lines for screen readers alone: changes that happen away from the keyboard's focus (edit mode
// entered or left, the count a search found, a job finished). The window draws the newest as a
// notification that assistive tools read out when it appears (AnnouncementView.qml); sighted
// users see the change itself. One for the process; QML's `Announcer` is the shared one.
//
// Thread-safety: main thread only.
class Announcer : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString text READ text NOTIFY announced)

public:
    static Announcer *shared();
    static Announcer *create(QQmlEngine *, QJSEngine *);

    // Says `text`; the same text again is said again.
    static void announce(const QString &text);
    QString text() const { return m_text; }

signals:
    void announced();

private:
    Announcer() = default;

    QString m_text;
};
