#include "NotificationCenter.h"

NotificationCenter *NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return &center;
}

void NotificationCenter::addObserver(QObject *owner, const QString &name, Handler handler)
{
    m_observers.append({owner, name, std::move(handler), m_nextId++});
    if (!m_ownerWatches.contains(owner))
        m_ownerWatches.insert(owner, connect(owner, &QObject::destroyed, this,
                                             [this, owner] { forgetOwner(owner); }));
}

void NotificationCenter::removeObserver(QObject *owner, const QString &name)
{
    m_observers.removeIf([&](const Observer &o) { return o.owner == owner && o.name == name; });
    const bool ownerLeft = std::none_of(m_observers.begin(), m_observers.end(),
                                        [owner](const Observer &o) { return o.owner == owner; });
    if (ownerLeft)
        disconnect(m_ownerWatches.take(owner));
}

void NotificationCenter::post(const QString &name, const QVariant &object)
{
    // Handlers may add or remove observers: run those present now, unless removed meanwhile.
    QList<quint64> ids;
    for (const auto &o : std::as_const(m_observers))
        if (o.name == name)
            ids.append(o.id);
    for (const quint64 id : ids) {
        const auto it = std::find_if(m_observers.cbegin(), m_observers.cend(),
                                     [id](const Observer &o) { return o.id == id; });
        if (it != m_observers.cend()) {
            const Handler handler = it->handler;
            handler(object);
        }
    }
}

int NotificationCenter::observerCount(const QString &name) const
{
    return int(std::count_if(m_observers.begin(), m_observers.end(),
                             [&](const Observer &o) { return o.name == name; }));
}

void NotificationCenter::forgetOwner(QObject *owner)
{
    m_observers.removeIf([owner](const Observer &o) { return o.owner == owner; });
    m_ownerWatches.remove(owner);
}
