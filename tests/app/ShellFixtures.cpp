#include "ShellFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

namespace ShellFixtures {

void makeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

std::unique_ptr<AppDelegate> launch(const LaunchOptions &options)
{
    auto app = std::make_unique<AppDelegate>();
    app->didFinishLaunching(options);
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
