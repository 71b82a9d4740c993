#pragma once

// What the shell's tests share: the test's own root, files made in it (those of the listing
// tests), the shell launched on the offscreen platform, and its screens and drawn items found.
#include "../browser/ListingScreenFixture.h"
#include "AppDelegate.h"
#include "LaunchOptions.h"

#include <QAccessible>
#include <QByteArray>
#include <QString>
#include <memory>

class QQuickItem;
class QQuickWindow;

namespace ShellFixtures {

std::unique_ptr<AppDelegate> launch(const LaunchOptions &options = {});
// The shell opening the folder `openPath` (a picker path), as `--open` does.
std::unique_ptr<AppDelegate> launch(const QString &openPath);
// The shell with its top screen listed and its window active, as a user meets it.
std::unique_ptr<AppDelegate> launchListed(const QString &openPath = {});
LocalStorageViewController *topScreen(const AppDelegate &app);
// Waits (QTRY) until the screen's wheel is gone.
void waitUntilListed(LocalStorageViewController *screen);
// Gives the window the keyboard; fails the test when it never becomes active.
void activate(QQuickWindow *window);
// The visible item of that object name in the window (depth first), or null.
QQuickItem *visibleItemNamed(QQuickItem *item, const QString &name);
QQuickItem *visibleItemNamed(QQuickWindow *window, const QString &name);
// The visible item that names itself `name` with `role` to assistive tools, or null.
QQuickItem *accessibleItem(QQuickItem *item, QAccessible::Role role, const QString &name);

} // namespace ShellFixtures
