#pragma once

#include "InstanceChannel.h"

#include <QString>
#include <memory>
#include <span>

// One instance per user and root folder. The instance of the default root owns the
// application's id as its bus name; one of another root a name derived from that root's
// Documents directory, so starts with the same `--root` meet and others don't.
struct InstanceKey {
    QString busName;    // "io.ombrisk.Ombrisk" or "io.ombrisk.Ombrisk.Root_<hash>"
    QString objectPath; // the bus name with "/" for ".": "/io/ombrisk/Ombrisk"
    QString localName;  // "ombrisk-<hash>": the lock file and socket in the runtime directory

    static InstanceKey forRoot(const QString &documentsDirectory, bool isDefaultRoot);
};

// The ways an instance can be found, tried in order: the first one available here is used.
// The session bus where there is one (org.freedesktop.Application, as desktops expect), else
// a lock file and a local socket in the user's runtime directory.
namespace SingleInstance {

struct Transport {
    const char *name;
    bool (*isAvailable)();
    std::unique_ptr<InstanceChannel> (*make)(const InstanceKey &key);
};

std::span<const Transport> transports();

// The channel of the first available transport for `key`.
std::unique_ptr<InstanceChannel> channelFor(const InstanceKey &key);

} // namespace SingleInstance
