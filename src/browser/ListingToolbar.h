#pragma once

#include "BarButtonItem.h"

#include <QList>
#include <QObject>

class LocalStorageViewController;

// The listing screen's bottom toolbar: new folder, paste (copy in its place while editing),
// compress, the status text, move and delete. Below 400 points of width Copy leaves the row to
// the status text (it stays in the row menu and on the keys), and so does Paste while the
// clipboard holds no files; while it holds some, Paste takes Compress's place outside edit
// mode. Paste is enabled while the clipboard holds files; the buttons acting on a selection
// while some is made.
// A tap calls the screen's handler of the same name.
//
// Thread-safety: main thread only.
class ListingToolbar : public QObject {
    Q_OBJECT

public:
    static constexpr double compactWidth = 400;

    explicit ListingToolbar(LocalStorageViewController *screen);

    // Makes the buttons and sets the screen's toolbar items.
    void build();
    // The row for browsing or for editing (Paste or Copy in one place).
    void showFor(bool editing);
    void setSelectionButtonsEnabled(bool enabled);
    void updatePasteButton();

    BarButtonItem *createFolderButton() const { return m_createFolderButton; }
    BarButtonItem *compressButton() const { return m_compressButton; }
    BarButtonItem *deleteButton() const { return m_deleteButton; }
    BarButtonItem *moveButton() const { return m_moveButton; }
    BarButtonItem *copyButton() const { return m_copyButton; }
    BarButtonItem *pasteButton() const { return m_pasteButton; }

private:
    LocalStorageViewController *m_screen;
    BarButtonItem *m_createFolderButton = nullptr;
    BarButtonItem *m_compressButton = nullptr;
    BarButtonItem *m_deleteButton = nullptr;
    BarButtonItem *m_moveButton = nullptr;
    BarButtonItem *m_copyButton = nullptr;
    BarButtonItem *m_pasteButton = nullptr;
    QList<BarButtonItem *> m_items;
};
