#pragma once

// A listing screen on a stack of its own, driven without a window as the user would drive it:
// rows selected, menu entries sent, dialogs answered; the test's own root, home folder and
// trash; and small file helpers.
#include "AlertController.h"
#include "AppDirectories.h"
#include "CompressQueue.h"
#include "HomePaths.h"
#include "KPDocumentPickerMenuItem.h"
#include "LocalStorageViewController.h"
#include "NavigationController.h"
#include "ProgressOverlay.h"
#include "Translations.h"
#include "Trash.h"
#include "Utils.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Every folder the test touches under `root`, the texts in English.
inline void useTestRoot(const QTemporaryDir &root)
{
    AppDirectories::useRoot(root.path());
    Translations::install(*QCoreApplication::instance(), QLocale(QLocale::English));
}

inline QString home() { return Utils::documentsPath(); }

// What the trashes hold: "original path relative to the home folder" per entry, sorted.
inline QStringList trashed()
{
    QStringList origins;
    for (const TrashEntry &entry : Trash::entries(Trash::trashDirectoriesInUse()))
        origins.append(HomePaths::listingPath(entry.originalPath).value_or(entry.originalPath));
    origins.sort();
    return origins;
}

// An empty home folder and an empty trash.
inline void freshHome()
{
    QDir(home()).removeRecursively();
    QVERIFY(QDir().mkpath(home()));
    for (const TrashEntry &entry : Trash::entries(Trash::trashDirectoriesInUse()))
        QVERIFY(Trash::erase(entry, nullptr));
}

inline void waitUntilIdle() { QTRY_VERIFY_WITH_TIMEOUT(!CompressQueue::shared()->isBusy(), 60000); }


inline void makeFile(const QString &path, const QByteArray &data = "data")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

inline QString readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Every entry of the folder, hidden ones too, by name.
inline QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                      QDir::NoDotAndDotDot,
                                  QDir::Name);
}

inline IndexPath indexPathIn(KPDocumentPickerViewController *picker, const QString &name)
{
    auto *manager = picker->itemManager();
    for (int s = 0; s < manager->numberOfSections(); ++s)
        for (int r = 0; r < manager->numberOfRowsForSection(s); ++r)
            if (manager->itemForIndexPath(s, r)->fileName == name)
                return {s, r};
    return {-1, -1};
}

// The rows `names` selected as taps in edit mode select them, entering it first.
inline void selectRows(KPDocumentPickerViewController *picker, const QStringList &names)
{
    if (!picker->isEditing())
        picker->selectButtonTapped();
    for (const QString &name : names) {
        const IndexPath path = indexPathIn(picker, name);
        picker->tableView()->selectRow(path);
        picker->didSelectRow(picker->tableView(), path);
    }
}

// One listing screen of `pickerPath` on its own stack, shown and listed; with `onHome` it is
// pushed above the home folder's screen, as opening folders does.
struct Screen {
    NavigationController *stack;
    LocalStorageViewController *screen;

    explicit Screen(const QString &pickerPath, bool onHome = false)
    {
        screen = new LocalStorageViewController(onHome ? QStringLiteral("/") : pickerPath);
        stack = new NavigationController(screen);
        stack->beginAppearanceTransition(true, false);
        stack->endAppearanceTransition();
        if (onHome) {
            listed();
            auto *root = screen;
            screen = new LocalStorageViewController(root, pickerPath);
            stack->pushViewController(screen, false);
        }
        listed();
    }
    ~Screen() { delete stack; }

    void listed()
    {
        // The listing arrives 0.2 s after each request; the reload that follows an action
        // shows once the item count and the names agree with the disk.
        QTRY_VERIFY(screen->loadingView() == nullptr);
        auto onDisk = QDir(Utils::documentsPath() + screen->filePath())
                          .entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        onDisk.sort();
        QTRY_COMPARE(names(), onDisk);
        QTRY_COMPARE(screen->tableView()->rows()->rowCount(), int(onDisk.size()));
    }
    QStringList names() const
    {
        QStringList names;
        for (const auto &item : screen->items())
            names.append(item->fileName);
        names.sort();
        return names;
    }
    AlertController *alert() const
    {
        return qobject_cast<AlertController *>(stack->presentedViewController());
    }
    KPDocumentPickerItemPtr item(const QString &name) const
    {
        for (const auto &item : screen->items())
            if (item->fileName == name)
                return item;
        return nullptr;
    }
    IndexPath indexPathOf(const QString &name) const { return indexPathIn(screen, name); }
    void select(const QStringList &names) { selectRows(screen, names); }
    // Sends the menu entry `action` of the row `name`, as the shared menu does.
    void menuAction(const QString &name, void (LocalStorageViewController::*action)(MenuController *))
    {
        KPDocumentPickerMenuItem entry("entry", "action:", QVariant::fromValue(item(name)));
        auto *menu = MenuController::sharedMenuController();
        menu->showMenu(screen, {&entry}, {});
        (screen->*action)(menu);
        menu->hideMenu();
    }
    void pick(const QString &button, const QString &typed = {})
    {
        auto *shown = alert();
        QVERIFY(shown);
        if (!typed.isNull())
            shown->textFields().first()->setText(typed);
        const auto actions = shown->actions();
        for (int i = 0; i < actions.size(); ++i)
            if (actions[i]->title() == button)
                return shown->pick(i);
        QFAIL(qPrintable("no button " + button));
    }
    void jobDone() { QTRY_VERIFY(!ProgressOverlay::shared()->isVisible()); }
};

using Buttons = QList<QPair<QString, AlertAction::Style>>;
inline Buttons buttonsOf(const AlertController *alert)
{
    Buttons buttons;
    for (const auto *action : alert->actions())
        buttons.append({action->title(), action->style()});
    return buttons;
}
