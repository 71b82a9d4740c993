#pragma once

// What the shell's tests share: files made in the test's root, the shell launched on the
// offscreen platform, and its screens and drawn items found.
#include "AppDelegate.h"
#include "LaunchOptions.h"

#include <QAccessible>
#include <QByteArray>
#include <QString>
#include <memory>

class QQuickItem;
class QQuickWindow;

namespace ShellFixtures {

// Makes the file with its folders; fails the test when it can't.
void makeFile(const QString &path, const QByteArray &data = "data");
std::unique_ptr<AppDelegate> launch(const LaunchOptions &options = {});
LocalStorageViewController *topScreen(const AppDelegate &app);
// Waits (QTRY) until the screen's wheel is gone.
void waitUntilListed(LocalStorageViewController *screen);
// The visible item of that object name in the window (depth first), or null.
QQuickItem *visibleItemNamed(QQuickItem *item, const QString &name);
QQuickItem *visibleItemNamed(QQuickWindow *window, const QString &name);
// The visible item that names itself `name` with `role` to assistive tools, or null.
QQuickItem *accessibleItem(QQuickItem *item, QAccessible::Role role, const QString &name);

} // namespace ShellFixtures
