#include "AppDelegate.h"

#include "ApplicationFolders.h"
#include "CompressQueue.h"
#include "DispatchQueue.h"
#include "HomePaths.h"
#include "ItemCopy.h"
#include "LocalStorageViewController.h"
#include "NavigationController.h"
#include "StagingFolder.h"
#include "StandardError.h"
#include "ThumbnailCache.h"
#include "Utils.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QThreadPool>

AppDelegate::AppDelegate() = default;

AppDelegate::~AppDelegate()
{
    // The window goes first: it draws the screens.
    m_engine.reset();
}

namespace {

// The start paths of `--open` or `--info`, or none when the last names nothing of the home
// folder (a file or a folder).
QStringList existingStartPaths(const QStringList &paths)
{
    if (paths.isEmpty() || QFileInfo::exists(HomePaths::diskPath(paths.constLast())))
        return paths;
    sayOnStandardError(AppDelegate::tr("There is no item %1 in the home folder; the home "
                                       "folder is shown instead.")
                           .arg(paths.constLast()));
    return {};
}

// `Application` in QML: the delegate whose engine asks (one engine per delegate).
void registerForQml(AppDelegate *delegate)
{
    static QPointer<AppDelegate> current;
    current = delegate;
    static const int registered = qmlRegisterSingletonType<AppDelegate>(
        "Ombrisk.App", 1, 0, "Application", [](QQmlEngine *, QJSEngine *) -> QObject * {
            QQmlEngine::setObjectOwnership(current.data(), QQmlEngine::CppOwnership);
            return current.data();
        });
    Q_UNUSED(registered);
}

} // namespace

bool AppDelegate::didFinishLaunching(const LaunchOptions &options)
{
    Error error;
    if (!ApplicationFolders::createAtStart(&error))
        sayOnStandardError(error.message);
    // Unpacking and copies left behind by a run that died (a merge undone, the originals put
    // back); on a worker, as it may be gigabytes.
    QThreadPool::globalInstance()->start([] {
        StagingFolder::sweepRecorded();
        ItemCopy::sweepRecorded();
    });
    auto *root = new LocalStorageViewController(QStringLiteral("/"));
    root->setTitle(tr("Home"));
    root->setEmptyFolderHint(tr("To bring files in, open them with Ombrisk from another "
                                "application, or drop them here."));
    m_viewController = root;
    m_navigationController = std::make_unique<NavigationController>(root);
    openStartFolders(existingStartPaths(options.pathsToOpen()));
    showStartProperties(existingStartPaths(options.pathsToInfo()));
    showStartContents(options.pathsToContents());

    registerForQml(this);
    m_engine = std::make_unique<QQmlApplicationEngine>();
    connect(m_engine.get(), &QQmlEngine::quit, this, &AppDelegate::quit);
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
    startHandOver(options.handedOver);
    // Thumbnails not looked at for a week go.
    ThumbnailCache::sharedCache().trimToDate(QDateTime::currentDateTime().addSecs(-604800));
    return true;
}

void AppDelegate::startHandOver(const QList<QUrl> &urls)
{
    m_handOver = std::make_unique<InboxHandOver>([this](const QUrl &url) { openURL(url); });
    connect(m_handOver.get(), &InboxHandOver::failed, this, [this](const Error &error) {
        sayOnStandardError(error.message);
        m_navigationController->topViewController()->textNotice()->show(error.message);
    });
    m_handOver->takeInLeftovers();
    m_handOver->handOver(urls);
}

bool AppDelegate::openURL(const QUrl &url)
{
    if (url.isLocalFile() && m_viewController)
        m_viewController->handleFileFromURL(url.toLocalFile());
    return true;
}

void AppDelegate::takeInDropped(const QList<QUrl> &urls)
{
    m_handOver->handOver(urls);
}

void AppDelegate::bringToFront(const QString &activationToken)
{
    if (!m_window)
        return;
    // Qt's Wayland support takes the token from here when the window asks for the keyboard.
    if (!activationToken.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
    if (m_window->windowStates() & Qt::WindowMinimized)
        m_window->showNormal();
    m_window->raise();
    m_window->requestActivate();
}

void AppDelegate::quit()
{
    if (m_quitting)
        return;
    m_quitting = true;
    CompressQueue::shared()->finishForQuit([](const QStringList &cutShort) {
        for (const QString &work : cutShort)
            sayOnStandardError(tr("Quitting stopped this work before it ended; nothing of it "
                                  "was kept: %1")
                                   .arg(work));
        QCoreApplication::exit(cutShort.isEmpty() ? 0 : 1);
    });
}

bool AppDelegate::shutDown(int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    CompressQueue::shared()->cancelAll(); // an unpacking stops and takes its staging away
    DispatchQueue::stopAll(0);            // waiting work is dropped at once
    m_engine.reset();          // while the work already running ends
    return DispatchQueue::stopAll(int(std::max<qint64>(0, timeoutMs - clock.elapsed())));
}

void AppDelegate::openStartFolders(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (QFileInfo(HomePaths::diskPath(path)).isFile()) {
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

void AppDelegate::showStartContents(const QStringList &paths)
{
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (!QFileInfo(HomePaths::diskPath(paths.at(i))).isFile())
            continue;
        openStartFolders(paths.mid(0, i));
        if (auto *listing = topListingScreen())
            listing->showContentsOfArchiveNamed(QFileInfo(paths.at(i)).fileName(),
                                                paths.constLast().mid(paths.at(i).size()));
        return;
    }
    if (!paths.isEmpty())
        sayOnStandardError(tr("There is no archive %1 in the home folder; the home folder is "
                              "shown instead.")
                               .arg(paths.constLast()));
}

LocalStorageViewController *AppDelegate::topListingScreen() const
{
    return qobject_cast<LocalStorageViewController *>(m_navigationController->topViewController());
}
