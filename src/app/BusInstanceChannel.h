#pragma once

#include "InstanceChannel.h"

#include <optional>

class ApplicationBusInterface;

// The instance found on the session bus, the freedesktop way: the first start exports
// org.freedesktop.Application at the key's object path, then asks for the key's bus name
// without queueing, so of two starts at once exactly one gets it. A later start calls
// `Open` (files) or `Activate` (none) on the name's owner, with the activation token in the
// platform data, and waits for the answer.
//
// Thread-safety: main thread only.
class BusInstanceChannel : public InstanceChannel {
    Q_OBJECT

public:
    explicit BusInstanceChannel(const InstanceKey &key, QObject *parent = nullptr);
    ~BusInstanceChannel() override;

    static bool isAvailable();

    Outcome claimOrForward(const InstanceRequest &request, Error *error) override;

private:
    bool claim();
    // Nothing when the name's owner went away meanwhile: the caller tries to claim again.
    std::optional<Outcome> forward(const InstanceRequest &request, Error *error);

    InstanceKey m_key;
    ApplicationBusInterface *m_interface = nullptr;
    bool m_claimed = false;
};
