#pragma once

#include "LaunchOptions.h"

#include <QObject>
#include <QPointer>
#include <memory>

#include "InboxHandOver.h"
#include "LocalStorageViewController.h"
#include "NavigationController.h"

#include <QQuickWindow>

class QQmlApplicationEngine;

// The application shell: makes the home and cache folders, the one window with its navigation
// stack over the home folder screen, and (for `--open` and `--info`) the screens of the start
// folder with the file opened or the item's properties shown above them; and ends the
// application in order. QML reaches it as the singleton `Application` of the module Ombrisk.App
// (`Application.quit()`). Files other applications hand over come through `openURL`.
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

    // The open-URL entry: a file URL (of a file in the Inbox) goes to the home folder screen's
    // `handleFileFromURL`, whatever screen is shown; any other URL is ignored. Always true.
    bool openURL(const QUrl &url);
    // Files dropped onto the window, handed over as the command line's are.
    Q_INVOKABLE void takeInDropped(const QList<QUrl> &urls);
    // Shows the window above the others and gives it the keyboard; `activationToken` is the
    // one a later start's launcher gave it, without which a Wayland desktop may refuse.
    void bringToFront(const QString &activationToken);

    // Ends the event loop; Ctrl+Q, closing the window, SIGTERM and SIGHUP all come here (or to
    // the event loop's end). `shutDown` does the rest once the loop has returned. Packing and
    // unpacking stop first (CompressQueue::finishForQuit): an unpacking moving its content
    // into the destination ends that move while the window says "Finishing…". The loop's exit
    // status is 1 when any of that work was cut short (each is said on standard error).
    Q_INVOKABLE void quit();
    // After the event loop: every queue drops the work it has not started, the window goes
    // while running work ends, and that work gets what is left of `timeoutMs` in all. Returns
    // whether the queues ended in time (else the process ends around a decode still running).
    bool shutDown(int timeoutMs = 250);

    QQuickWindow *window() const { return m_window; }
    LocalStorageViewController *viewController() const { return m_viewController; }
    NavigationController *navigationController() const { return m_navigationController.get(); }
    // Made by `didFinishLaunching`.
    InboxHandOver *handOver() const { return m_handOver.get(); }

private:
    // Pushes a listing screen for each folder of `paths`; a file among them is opened as a tap
    // on its row opens it, and nothing further is pushed.
    void openStartFolders(const QStringList &paths);
    // Pushes the folders above the last of `paths`, then the last one's properties sheet.
    void showStartProperties(const QStringList &paths);
    // Pushes the folders above the first archive of `paths`, then its contents down to the
    // inner folders after it; says on standard error when no archive is among them.
    void showStartContents(const QStringList &paths);
    LocalStorageViewController *topListingScreen() const;
    void startHandOver(const QList<QUrl> &urls);

    std::unique_ptr<NavigationController> m_navigationController;
    QPointer<LocalStorageViewController> m_viewController;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QPointer<QQuickWindow> m_window;
    std::unique_ptr<InboxHandOver> m_handOver;
    bool m_quitting = false;
};
