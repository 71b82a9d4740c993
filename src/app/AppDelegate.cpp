#include "AppDelegate.h"

#include "FileOperations.h"
#include "LocalFolderListing.h"
#include "LocalStorageViewController.h"
#include "NavigationController.h"
#include "ThumbnailCache.h"
#include "Utils.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

AppDelegate::AppDelegate() = default;

AppDelegate::~AppDelegate()
{
    // The window goes first: it draws the screens.
    m_engine.reset();
}

void AppDelegate::createHomeFolder()
{
    FileOperations::createDirectoriesForPath(Utils::documentsPath());
    FileOperations::createDirectoriesForPath(Utils::cachePath());
}

bool AppDelegate::didFinishLaunching(const LaunchOptions &options)
{
    createHomeFolder();
    auto *root = new LocalStorageViewController(QStringLiteral("/"));
    root->setTitle(QCoreApplication::translate("AppDelegate", "Home"));
    m_viewController = root;
    m_navigationController = std::make_unique<NavigationController>(root);
    openStartFolders(options.pathsToOpen());
    showStartProperties(options.pathsToInfo());

    m_engine = std::make_unique<QQmlApplicationEngine>();
    m_engine->addImportPath(QStringLiteral("qrc:/"));
    m_engine->setInitialProperties(
        {{QStringLiteral("navigation"), QVariant::fromValue(m_navigationController.get())},
         {QStringLiteral("width"), options.windowSize.width()},
         {QStringLiteral("height"), options.windowSize.height()}});
    m_engine->load(QUrl(QStringLiteral("qrc:/Ombrisk/App/Main.qml")));
    if (!m_engine->rootObjects().isEmpty())
        m_window = qobject_cast<QQuickWindow *>(m_engine->rootObjects().constFirst());
    m_navigationController->beginAppearanceTransition(true, false);
    m_navigationController->endAppearanceTransition();
    // Thumbnails not looked at for a week go.
    ThumbnailCache::sharedCache().trimToDate(QDateTime::currentDateTime().addSecs(-604800));
    return true;
}

void AppDelegate::openStartFolders(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (QFileInfo(LocalFolderListing::folderPathForPickerPath(path)).isFile()) {
            if (auto *listing = topListingScreen())
                listing->openFileNamed(QFileInfo(path).fileName());
            return;
        }
        auto *screen = new LocalStorageViewController(m_viewController, path);
        screen->setTitle(path.mid(path.lastIndexOf(u'/') + 1));
        m_navigationController->pushViewController(screen, false);
    }
}

void AppDelegate::showStartProperties(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    openStartFolders(paths.mid(0, paths.size() - 1));
    if (auto *listing = topListingScreen())
        listing->showPropertiesOfItemNamed(QFileInfo(paths.constLast()).fileName());
}

LocalStorageViewController *AppDelegate::topListingScreen() const
{
    return qobject_cast<LocalStorageViewController *>(m_navigationController->topViewController());
}
