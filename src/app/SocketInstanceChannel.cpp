#include "SocketInstanceChannel.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr quint32 requestMagic = 0x4f4d4252; // "OMBR"
constexpr quint32 requestVersion = 1;
constexpr char acknowledgement = 'k';
constexpr int patienceMs = 5000;
constexpr int retryPauseMs = 20;

Error channelError(const QString &message)
{
    return Error(InstanceChannel::errorDomain, 2, message);
}

QString systemMessage()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A folder of the user's alone: made when missing, refused when someone else could write in
// it or it is a link.
bool isPrivateFolder(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    ::mkdir(name.constData(), 0700);
    struct stat info {};
    return ::lstat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 0077) == 0;
}

} // namespace

SocketInstanceChannel::SocketInstanceChannel(const InstanceKey &key, QObject *parent)
    : InstanceChannel(parent), m_key(key)
{
}

SocketInstanceChannel::~SocketInstanceChannel()
{
    if (m_server)
        m_server->close(); // removes the socket file
}

QString SocketInstanceChannel::runtimeDirectory(Error *error)
{
    QStringList candidates;
    if (const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR"); !runtime.isEmpty())
        candidates << runtime;
    candidates << QDir::tempPath() + QStringLiteral("/ombrisk-") + QString::number(::getuid());
    // Another local user may make the one in the temporary directory first; the cache is in
    // the user's own home.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty() && QDir().mkpath(cache))
        candidates << cache + QStringLiteral("/ombrisk-instances");
    for (const QString &folder : std::as_const(candidates))
        if (isPrivateFolder(folder))
            return folder;
    fail(error, channelError(tr("None of %1 is a folder of yours alone, so Ombrisk can't tell "
                                "whether it already runs; this start runs on its own.")
                                 .arg(candidates.join(QStringLiteral(", ")))));
    return {};
}

InstanceChannel::Outcome SocketInstanceChannel::claimOrForward(const InstanceRequest &request,
                                                               Error *error)
{
    const QString folder = runtimeDirectory(error);
    if (folder.isEmpty())
        return Outcome::Unusable;
    const QString base = folder + u'/' + m_key.localName;
    const QString socketPath = base + QStringLiteral(".socket");
    const QDeadlineTimer deadline(patienceMs);
    do {
        switch (takeLock(base + QStringLiteral(".lock"), error)) {
        case Lock::Failed:
            return Outcome::Unusable;
        case Lock::Taken:
            return listen(socketPath, error) ? Outcome::Claimed : Outcome::Unusable;
        case Lock::Held:
            if (send(socketPath, request))
                return Outcome::Forwarded;
            // The holder is starting and not listening yet, or ending: ask again shortly.
            QThread::msleep(retryPauseMs);
        }
    } while (!deadline.hasExpired());
    fail(error, channelError(tr("Ombrisk is already running for this folder but did not "
                                "answer. End it, then try again.")));
    return Outcome::NoAnswer;
}

SocketInstanceChannel::Lock SocketInstanceChannel::takeLock(const QString &path, Error *error)
{
    if (!m_lockFd.isValid())
        m_lockFd = Fd(::open(QFile::encodeName(path).constData(),
                             O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!m_lockFd.isValid()) {
        fail(error, channelError(tr("The lock file %1 could not be opened: %2. This start runs "
                                    "on its own.")
                                     .arg(path, systemMessage())));
        return Lock::Failed;
    }
    if (::flock(m_lockFd.get(), LOCK_EX | LOCK_NB) == 0)
        return Lock::Taken;
    if (errno == EWOULDBLOCK || errno == EINTR)
        return Lock::Held;
    fail(error, channelError(tr("The lock file %1 could not be locked: %2. This start runs on "
                                "its own.")
                                 .arg(path, systemMessage())));
    return Lock::Failed;
}

bool SocketInstanceChannel::listen(const QString &socketPath, Error *error)
{
    // Whoever held the lock before is gone: a socket file left behind is theirs, dead.
    QLocalServer::removeServer(socketPath);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(socketPath)) {
        fail(error, channelError(tr("Ombrisk could not listen on %1 (%2); a later start will "
                                    "run on its own.")
                                     .arg(socketPath, m_server->errorString())));
        m_server.reset();
        return false;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { receive(socket); });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            receive(socket); // what arrived with the connection
        }
    });
    return true;
}

bool SocketInstanceChannel::send(const QString &socketPath, const InstanceRequest &request)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(patienceMs / 10))
        return false;
    QStringList uris;
    for (const QUrl &url : request.urls)
        uris.append(url.toString(QUrl::FullyEncoded));
    QDataStream out(&socket);
    out.setVersion(QDataStream::Qt_6_4);
    out << requestMagic << requestVersion << request.activationToken << uris;
    if (!socket.waitForBytesWritten(patienceMs))
        return false;
    // The answer says the request was taken; a holder ending now never sends it.
    while (socket.bytesAvailable() == 0)
        if (!socket.waitForReadyRead(patienceMs))
            return false;
    char answer = 0;
    return socket.getChar(&answer) && answer == acknowledgement;
}

void SocketInstanceChannel::receive(QLocalSocket *socket)
{
    QDataStream in(socket);
    in.setVersion(QDataStream::Qt_6_4);
    in.startTransaction();
    quint32 magic = 0, version = 0;
    QString token;
    QStringList uris;
    in >> magic >> version >> token >> uris;
    if (!in.commitTransaction() && in.status() == QDataStream::ReadPastEnd)
        return; // not all there yet
    if (in.status() != QDataStream::Ok || magic != requestMagic || version != requestVersion) {
        socket->disconnectFromServer();
        return;
    }
    QList<QUrl> urls;
    for (const QString &uri : uris)
        urls.append(QUrl(uri));
    socket->putChar(acknowledgement);
    socket->flush();
    socket->disconnectFromServer();
    emit requested({urls, token});
}
