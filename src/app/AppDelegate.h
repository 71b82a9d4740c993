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
// stack over the home folder screen, and (for `--open` and `--info`) the screens of the start
// folder with the file opened or the item's properties shown above them.
//
// Thread-safety: main thread only.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    AppDelegate();
    ~AppDelegate() override;

    // Always true; a window that can't be made is reported through `window()` being null.
    bool didFinishLaunching(const LaunchOptions &options);
    static void createHomeFolder();

    QQuickWindow *window() const { return m_window; }
    LocalStorageViewController *viewController() const { return m_viewController; }
    NavigationController *navigationController() const { return m_navigationController.get(); }

private:
    // Pushes a listing screen for each folder of `paths`; a file among them is opened as a tap
    // on its row opens it, and nothing further is pushed.
    void openStartFolders(const QStringList &paths);
    // Pushes the folders above the last of `paths`, then the last one's properties sheet.
    void showStartProperties(const QStringList &paths);
    LocalStorageViewController *topListingScreen() const;

    std::unique_ptr<NavigationController> m_navigationController;
    QPointer<LocalStorageViewController> m_viewController;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QPointer<QQuickWindow> m_window;
};
