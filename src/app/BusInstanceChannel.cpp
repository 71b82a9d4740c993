#include "BusInstanceChannel.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace {

const QString applicationInterface = QStringLiteral("org.freedesktop.Application");
constexpr int answerTimeoutMs = 5000;

QString tokenOf(const QVariantMap &platformData)
{
    const QString token = platformData.value(QStringLiteral("activation-token")).toString();
    return token.isEmpty() ? platformData.value(QStringLiteral("desktop-startup-id")).toString()
                           : token;
}

QDBusConnection bus()
{
    return QDBusConnection::sessionBus();
}

} // namespace

// org.freedesktop.Application on the running instance: each call becomes a request.
class ApplicationBusInterface : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    explicit ApplicationBusInterface(BusInstanceChannel *channel)
        : QObject(channel), m_channel(channel)
    {
    }

public slots:
    void Activate(const QVariantMap &platformData)
    {
        emit m_channel->requested({{}, tokenOf(platformData)});
    }
    void Open(const QStringList &uris, const QVariantMap &platformData)
    {
        QList<QUrl> urls;
        for (const QString &uri : uris)
            urls.append(QUrl(uri));
        emit m_channel->requested({urls, tokenOf(platformData)});
    }
    // The application has no actions; the call is answered and changes nothing.
    void ActivateAction(const QString &, const QVariantList &, const QVariantMap &) {}

private:
    BusInstanceChannel *m_channel;
};

BusInstanceChannel::BusInstanceChannel(const InstanceKey &key, QObject *parent)
    : InstanceChannel(parent), m_key(key), m_interface(new ApplicationBusInterface(this))
{
}

BusInstanceChannel::~BusInstanceChannel()
{
    if (!m_claimed)
        return;
    bus().unregisterService(m_key.busName);
    bus().unregisterObject(m_key.objectPath);
}

bool BusInstanceChannel::isAvailable()
{
    return bus().isConnected();
}

InstanceChannel::Outcome BusInstanceChannel::claimOrForward(const InstanceRequest &request,
                                                            Error *error)
{
    // An owner on its way out can leave the name free between our two steps: try again then.
    constexpr int rounds = 3;
    std::optional<Outcome> outcome;
    for (int round = 0; round < rounds && !outcome; ++round)
        outcome = claim() ? Outcome::Claimed : forward(request, error);
    return outcome.value_or(Outcome::NoAnswer);
}

bool BusInstanceChannel::claim()
{
    // The interface first, so that a call coming right after the name was taken finds it.
    if (!bus().registerObject(m_key.objectPath, m_interface, QDBusConnection::ExportAllSlots))
        return false;
    const auto reply = bus().interface()->registerService(
        m_key.busName, QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    m_claimed = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
    if (m_claimed)
        return true;
    bus().unregisterObject(m_key.objectPath);
    return false;
}

std::optional<InstanceChannel::Outcome>
BusInstanceChannel::forward(const InstanceRequest &request, Error *error)
{
    QStringList uris;
    for (const QUrl &url : request.urls)
        uris.append(url.toString(QUrl::FullyEncoded));
    QVariantMap platformData;
    if (!request.activationToken.isEmpty())
        platformData.insert(QStringLiteral("activation-token"), request.activationToken);
    auto call = QDBusMessage::createMethodCall(m_key.busName, m_key.objectPath,
                                               applicationInterface,
                                               uris.isEmpty() ? QStringLiteral("Activate")
                                                              : QStringLiteral("Open"));
    if (uris.isEmpty())
        call << platformData;
    else
        call << uris << platformData;
    // No activation: a name without owner must come back as such, not start the service.
    call.setAutoStartService(false);
    const QDBusMessage answer = bus().call(call, QDBus::Block, answerTimeoutMs);
    if (answer.type() == QDBusMessage::ReplyMessage)
        return Outcome::Forwarded;
    fail(error, Error(errorDomain, 1,
                      tr("Ombrisk is already running for this folder but did not answer (%1). "
                         "End it, then try again.")
                          .arg(answer.errorMessage())));
    const QString gone = answer.errorName();
    if (gone == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
        gone == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return std::nullopt;
    return Outcome::NoAnswer;
}

#include "BusInstanceChannel.moc"
