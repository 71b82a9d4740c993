#include "ListingToolbar.h"

#include "FileClipboard.h"
#include "LocalStorageViewController.h"

#include <QClipboard>
#include <QGuiApplication>

ListingToolbar::ListingToolbar(LocalStorageViewController *screen)
    : QObject(screen), m_screen(screen)
{
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &ListingToolbar::updatePasteButton);
    connect(screen, &ViewController::viewSizeChanged, this,
            [this] { showFor(m_screen->isEditing()); });
}

void ListingToolbar::build()
{
    auto *screen = m_screen;
    if (!screen->toolBarLabel)
        screen->toolBarLabel = BarButtonItem::label(tr("Loading..."), 12, screen);
    const auto action = [screen](void (LocalStorageViewController::*tapped)()) {
        return BarButtonItem::calling(screen, tapped);
    };
    using Style = BarButtonItem::Style;
    using Screen = LocalStorageViewController;
    m_createFolderButton =
        BarButtonItem::pictured(QStringLiteral("new_folder"), Style::Done,
                                action(&Screen::createFolderButtonTapped), screen);
    m_compressButton = BarButtonItem::pictured(QStringLiteral("compress"), Style::Done,
                                               action(&Screen::compressButtonTapped), screen);
    m_deleteButton = BarButtonItem::trash(action(&Screen::deleteButtonTapped), screen);
    m_moveButton = BarButtonItem::pictured(QStringLiteral("move"), Style::Done,
                                           action(&Screen::moveBarButtonTaped), screen);
    m_copyButton = BarButtonItem::pictured(QStringLiteral("copy"), Style::Done,
                                           action(&Screen::copyButtonTapped), screen);
    m_pasteButton = BarButtonItem::pictured(QStringLiteral("paste"), Style::Done,
                                            action(&Screen::paste), screen);
    auto *space = BarButtonItem::flexibleSpace(screen);
    m_items = {m_createFolderButton, space, m_pasteButton, space,
               m_compressButton, space, screen->toolBarLabel.data(), m_moveButton,
               space, m_deleteButton};
    showFor(screen->isEditing());
    setSelectionButtonsEnabled(false);
    updatePasteButton();
    m_copyButton->setAccessibleName(tr("Copy"));
    m_pasteButton->setAccessibleName(tr("Paste"));
    m_createFolderButton->setAccessibleName(tr("New Folder"));
    m_compressButton->setAccessibleName(tr("Compress"));
    m_moveButton->setAccessibleName(tr("Move"));
    m_deleteButton->setAccessibleName(tr("Delete"));
    for (auto *button : {m_deleteButton, m_createFolderButton}) {
        button->setBoldTitle(true);
        button->setTitleFontSize(12);
    }
}

void ListingToolbar::showFor(bool editing)
{
    if (m_items.isEmpty())
        return;
    auto items = m_items;
    const qsizetype slot = items.indexOf(m_pasteButton);
    if (editing)
        items.replace(slot, m_copyButton);
    // A narrow window needs the room for the status text: Copy leaves (it stays in the row
    // menu), and Paste too unless it has work to do, since a touch has no other way to paste;
    // then it takes the room of Compress, which has no selection to act on outside edit mode.
    const double width = m_screen->viewSize().width();
    if (width > 0 && width < compactWidth) {
        const bool pasteStays = !editing && m_pasteButton->isEnabled();
        items.remove(pasteStays ? items.indexOf(m_compressButton) : slot, 2);
    }
    if (items != m_screen->toolbarItems())
        m_screen->setToolbarItems(items);
}

void ListingToolbar::setSelectionButtonsEnabled(bool enabled)
{
    for (auto *button : {m_deleteButton, m_moveButton, m_compressButton, m_copyButton}) {
        if (button)
            button->setEnabled(enabled);
    }
    showFor(m_screen->isEditing());
}

void ListingToolbar::updatePasteButton()
{
    if (m_pasteButton)
        m_pasteButton->setEnabled(FileClipboard::contents().has_value());
    showFor(m_screen->isEditing());
}
