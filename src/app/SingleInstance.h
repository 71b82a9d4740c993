#pragma once

#include "InstanceChannel.h"

#include <QString>
#include <memory>
#include <span>

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
