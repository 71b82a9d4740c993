#pragma once

// A listing screen on a stack of its own, driven without a window as the user would drive it:
// rows selected, menu entries sent, dialogs answered; and small file helpers.
#include "AlertController.h"
#include "KPDocumentPickerMenuItem.h"
#include "LocalStorageViewController.h"
#include "NavigationController.h"
#include "ProgressOverlay.h"
#include "Utils.h"

#include <QDir>
#include <QFile>
#include <QTest>


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
    IndexPath indexPathOf(const QString &name) const
    {
        auto *manager = screen->itemManager();
        for (int s = 0; s < manager->numberOfSections(); ++s)
            for (int r = 0; r < manager->numberOfRowsForSection(s); ++r)
                if (manager->itemForIndexPath(s, r)->fileName == name)
                    return {s, r};
        return {-1, -1};
    }
    void select(const QStringList &names)
    {
        if (!screen->isEditing())
            screen->selectButtonTapped();
        for (const QString &name : names) {
            const IndexPath path = indexPathOf(name);
            screen->tableView()->selectRow(path);
            screen->didSelectRow(screen->tableView(), path);
        }
    }
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
