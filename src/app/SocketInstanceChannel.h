#pragma once

#include "InstanceChannel.h"

#include <Descriptors.h>

#include <memory>

class QLocalServer;
class QLocalSocket;

// The instance found without a session bus: a lock file and a local socket named after the key
// in the user's runtime directory ($XDG_RUNTIME_DIR, else a private folder of the user's in
// the temporary directory, else one in the user's cache when another user took that name). Whoever
// holds the lock (flock, released by the kernel however the holder ends) is the instance and
// listens on the socket; a later start connects and sends its request, and waits for the
// acknowledgement. A socket file left by an instance that crashed is removed by the next holder of
// the lock before it listens; a start that finds the lock held but nobody listening yet (the holder
// just starting) keeps trying for a few seconds.
//
// Thread-safety: main thread only.
class SocketInstanceChannel : public InstanceChannel {
    Q_OBJECT

public:
    explicit SocketInstanceChannel(const InstanceKey &key, QObject *parent = nullptr);
    ~SocketInstanceChannel() override;

    static bool isAvailable() { return true; }
    // The folder holding the lock files and sockets: the first of those above that is the
    // user's alone; empty when none is (the reason in `error`).
    static QString runtimeDirectory(Error *error);

    Outcome claimOrForward(const InstanceRequest &request, Error *error) override;

private:
    enum class Lock { Taken, Held, Failed };
    Lock takeLock(const QString &path, Error *error);
    bool listen(const QString &socketPath, Error *error);
    bool send(const QString &socketPath, const InstanceRequest &request);
    void receive(QLocalSocket *socket);

    InstanceKey m_key;
    Fd m_lockFd;
    std::unique_ptr<QLocalServer> m_server;
};
