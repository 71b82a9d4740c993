#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

// Turns SIGTERM and SIGHUP into a call of `quit` on the main thread's event loop, so that a
// terminal closing or a `kill` ends the application in order instead of on the spot. A signal
// handler may do next to nothing: it writes one byte into a pipe, and a QSocketNotifier on the
// other end calls `quit`.
//
// Thread-safety: one instance per process, made and destroyed on the main thread; the
// destructor gives both signals their default handling back.
class QuitSignals : public QObject {
    Q_OBJECT

public:
    explicit QuitSignals(std::function<void()> quit, QObject *parent = nullptr);
    ~QuitSignals() override;

private:
    std::function<void()> m_quit;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
