#pragma once

#include "FolderHandle.h"
#include "ToolProcess.h"

#include <Error.h>
#include <QByteArray>
#include <QString>
#include <QStringList>

// A password for lsar and unar, which take one only on their command line, where every local
// user can read it (ps, /proc/PID/cmdline). Their command line gets a placeholder after "-p";
// a small library preloaded into the tool (preload/PasswordFromStandardInput.cpp, built with
// the engine and kept here in memory, given to the tool as the descriptor of an anonymous file)
// puts the password read from the tool's standard input in its place before the tool's main()
// runs. Without the library the tool would try the placeholder as the password, and fail.
//
// Thread-safety: one object per tool run, kept until the run is over.
class PreloadedPassword {
public:
    // An empty password is none: nothing is preloaded and no "-p" given.
    PreloadedPassword(const QString &password, Error *error);

    bool isValid() const { return m_password.isEmpty() || m_library.isValid(); }

    // Preloads the library into `tool` (nothing without a password).
    void prepare(ToolProcess &tool) const;
    // "-p" and the placeholder, or nothing.
    QStringList arguments() const;
    // What the tool's standard input gets: the password.
    QByteArray input() const { return m_password; }

private:
    QByteArray m_password;
    Fd m_library;
};
