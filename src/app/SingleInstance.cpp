#include "SingleInstance.h"

#include "BusInstanceChannel.h"
#include "SocketInstanceChannel.h"

#include <QCryptographicHash>
#include <QDir>

namespace {

// Names and paths allow letters, digits and "_"; 16 hex digits tell roots apart well enough.
QString rootHash(const QString &documentsDirectory)
{
    const QByteArray path = QDir::cleanPath(QDir(documentsDirectory).absolutePath()).toUtf8();
    return QString::fromLatin1(
        QCryptographicHash::hash(path, QCryptographicHash::Sha256).toHex().left(16));
}

template <class Channel>
std::unique_ptr<InstanceChannel> make(const InstanceKey &key)
{
    return std::make_unique<Channel>(key);
}

constexpr SingleInstance::Transport transportTable[] = {
    {"session bus", &BusInstanceChannel::isAvailable, &make<BusInstanceChannel>},
    {"local socket", &SocketInstanceChannel::isAvailable, &make<SocketInstanceChannel>},
};

} // namespace

InstanceKey InstanceKey::forRoot(const QString &documentsDirectory, bool isDefaultRoot)
{
    const QString applicationId = QStringLiteral(OMBRISK_APP_ID);
    const QString hash = rootHash(documentsDirectory);
    InstanceKey key;
    key.busName = isDefaultRoot ? applicationId : applicationId + QStringLiteral(".Root_") + hash;
    key.objectPath = u'/' + QString(key.busName).replace(u'.', u'/');
    key.localName = QStringLiteral("ombrisk-") + hash;
    return key;
}

namespace SingleInstance {

std::span<const Transport> transports()
{
    return transportTable;
}

std::unique_ptr<InstanceChannel> channelFor(const InstanceKey &key)
{
    for (const Transport &transport : transports())
        if (transport.isAvailable())
            return transport.make(key);
    return nullptr;
}

} // namespace SingleInstance
