#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>

// Process-wide named notifications with a payload (the object: a map, a string, a list, or
// nothing). Observers register under their owner and are
// removed by it, or at the latest when the owner is destroyed.
//
// Thread-safety: main thread only; observers run synchronously inside `post`, in the order
// they were added.
class NotificationCenter : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(const QVariant &object)>;

    static NotificationCenter *defaultCenter();

    void addObserver(QObject *owner, const QString &name, Handler handler);
    void removeObserver(QObject *owner, const QString &name);
    void post(const QString &name, const QVariant &object = {});

    int observerCount(const QString &name) const;

private:
    struct Observer {
        QObject *owner;
        QString name;
        Handler handler;
        quint64 id;
    };
    void forgetOwner(QObject *owner);

    QList<Observer> m_observers;
    QHash<QObject *, QMetaObject::Connection> m_ownerWatches;
    quint64 m_nextId = 0;
};
