#pragma once

#include "LaunchOptions.h"

#include <QObject>
#include <QPointer>
#include <memory>

#include "LocalStorageViewController.h"
#include "NavigationController.h"

#include <QQuickWindow>

class QQmlApplicationEngine;

// The application shell: makes the home and cache folders, the one window with its navigation
// stack over the home folder screen, and (for `--open`) the screens of the start folder; and
// ends the application in order. QML reaches it as the singleton `Application` of the module
// Ombrisk.App (`Application.quit()`).
//
// Thread-safety: main thread only.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    AppDelegate();
    ~AppDelegate() override;

    // Always true; a window that can't be made is reported through `window()` being null. A
    // folder that cannot be made, or an `--open` path that is no folder, is said on standard
    // error and the start goes on (with the home folder).
    bool didFinishLaunching(const LaunchOptions &options);

    // Ends the event loop; Ctrl+Q, closing the window, SIGTERM and SIGHUP all come here (or to
    // the event loop's end). `shutDown` does the rest once the loop has returned.
    Q_INVOKABLE void quit();
    // After the event loop: every queue drops the work it has not started, running work gets
    // up to `timeoutMs` to end, then the window goes. Returns whether the queues ended in time.
    bool shutDown(int timeoutMs = 250);

    QQuickWindow *window() const { return m_window; }
    LocalStorageViewController *viewController() const { return m_viewController; }
    NavigationController *navigationController() const { return m_navigationController.get(); }

private:
    void openStartFolders(const QStringList &paths);

    std::unique_ptr<NavigationController> m_navigationController;
    QPointer<LocalStorageViewController> m_viewController;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QPointer<QQuickWindow> m_window;
};
