#pragma once

#include <QCoreApplication>
#include <QString>
#include <functional>

class AlertController;
class ViewController;

// The "Password Protected" dialog asked before unpacking an archive that needs a password:
// one ordinary text field, "Cancel" then "OK". "OK" gives `chosen` the text as typed (an empty
// field gives "", which the engine takes as no password); "Cancel" runs `cancelled`, if given.
//
// Thread-safety: main thread only.
class PasswordDialog {
    Q_DECLARE_TR_FUNCTIONS(PasswordDialog)

public:
    PasswordDialog() = delete;

    // Presents the dialog over `screen`; returns it (owned by `screen` while shown).
    static AlertController *present(ViewController *screen,
                                    std::function<void(const QString &password)> chosen,
                                    std::function<void()> cancelled = {});
};
