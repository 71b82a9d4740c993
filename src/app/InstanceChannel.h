#pragma once

#include "Error.h"

#include <QList>
#include <QObject>
#include <QUrl>

// One instance per user and root folder. The instance of the default root owns the
// application's id as its bus name; one of another root a name derived from that root's
// Documents directory, so starts with the same `--root` meet and others don't.
struct InstanceKey {
    QString busName;    // "io.ombrisk.Ombrisk" or "io.ombrisk.Ombrisk.Root_<hash>"
    QString objectPath; // the bus name with "/" for ".": "/io/ombrisk/Ombrisk"
    QString localName;  // "ombrisk-<hash>": the lock file and socket in the runtime directory

    static InstanceKey forRoot(const QString &documentsDirectory, bool isDefaultRoot);
};

// What a later start of Ombrisk hands to the instance already running for its root: the files
// (and addresses) of its command line, and the activation token its launcher gave it, which
// lets the running window come to the front.
struct InstanceRequest {
    QList<QUrl> urls;
    QString activationToken;
};

// One way for the starts of one root to meet. The first start claims the channel and hears
// every later one through `requested`; a later start finds it claimed and hands its request
// over instead.
//
// Thread-safety: main thread only.
class InstanceChannel : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        Claimed,   // this start is the instance of its root
        Forwarded, // the running instance took the request; this start can end
        NoAnswer,  // another instance holds the channel but did not take the request
        Unusable,  // the channel can't be used here; the start runs on its own
    };

    using QObject::QObject;

    // Blocking, at most a few seconds; the reason for NoAnswer and Unusable in `error`.
    virtual Outcome claimOrForward(const InstanceRequest &request, Error *error) = 0;

    static inline const QString errorDomain = QStringLiteral("Ombrisk.SingleInstance");

signals:
    // A later start's request, on the instance that claimed the channel.
    void requested(const InstanceRequest &request);
};
