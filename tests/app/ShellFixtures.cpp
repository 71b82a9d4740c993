#include "ShellFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

// The QML modules are static libraries: every shell test links them in through here.
Q_IMPORT_QML_PLUGIN(Ombrisk_PlatformPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_PickerPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_PreviewPlugin)
Q_IMPORT_QML_PLUGIN(Ombrisk_AppPlugin)

namespace ShellFixtures {

std::unique_ptr<AppDelegate> launch(const LaunchOptions &options)
{
    auto app = std::make_unique<AppDelegate>();
    app->didFinishLaunching(options);
    return app;
}

std::unique_ptr<AppDelegate> launch(const QString &openPath)
{
    LaunchOptions options;
    options.openPath = openPath;
    return launch(options);
}

std::unique_ptr<AppDelegate> launchListed(const QString &openPath)
{
    auto app = launch(openPath);
    waitUntilListed(topScreen(*app));
    activate(app->window());
    return app;
}

LocalStorageViewController *topScreen(const AppDelegate &app)
{
    return qobject_cast<LocalStorageViewController *>(
        app.navigationController()->topViewController());
}

void waitUntilListed(LocalStorageViewController *screen)
{
    QVERIFY(screen);
    QTRY_VERIFY(screen->loadingView() == nullptr);
}

void activate(QQuickWindow *window)
{
    window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

QQuickItem *visibleItemNamed(QQuickItem *item, const QString &name)
{
    if (!item->isVisible())
        return nullptr;
    if (item->objectName() == name)
        return item;
    for (QQuickItem *child : item->childItems()) {
        if (auto *found = visibleItemNamed(child, name))
            return found;
    }
    return nullptr;
}

QQuickItem *visibleItemNamed(QQuickWindow *window, const QString &name)
{
    return visibleItemNamed(window->contentItem(), name);
}

QQuickItem *accessibleItem(QQuickItem *item, QAccessible::Role role, const QString &name)
{
    if (!item->isVisible())
        return nullptr;
    auto *accessible = QAccessible::queryAccessibleInterface(item);
    if (accessible && accessible->role() == role && accessible->text(QAccessible::Name) == name)
        return item;
    for (QQuickItem *child : item->childItems()) {
        if (auto *found = accessibleItem(child, role, name))
            return found;
    }
    return nullptr;
}

} // namespace ShellFixtures
