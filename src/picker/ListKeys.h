#pragma once

#include <QKeyEvent>
#include <QString>

// What a key pressed on a listing means, decided apart from the page that forwards it so the
// rules are one list: the page only carries out the step, and the screen the command.
//
// Thread-safety: pure functions.
namespace ListKeys {

// Keys the rows and the search field leave alone: commands to the screen.
enum class Command {
    None,
    Find,          // Ctrl+F
    Escape,        // Escape
    Reload,        // F5, Ctrl+R
    SelectAll,     // Ctrl+A
    Delete,        // Delete
    DeleteForGood, // Shift+Delete
    Rename,        // F2
    Copy,          // Ctrl+C
    Cut,           // Ctrl+X
    Paste,         // Ctrl+V
};
Command command(const QKeyEvent &key);

// A key on the rows, and the row the keyboard is on after it.
struct RowStep {
    enum class Kind {
        None,         // not a key of the rows
        Focus,        // the keyboard moves to `row`
        Open,         // Return: the row is tapped
        ShowContents, // Ctrl+Return: the row's contents are shown
        Menu,         // the Menu key, Shift+F10: the row's menu opens
        TypeAhead,    // a printable character: look for the row whose name starts so
    };
    Kind kind = Kind::None;
    int row = -1;
};

// `focusedRow` (-1: none) among `rowCount` rows, `pageRows` of them to a page. Arrows, Home,
// End and the page keys move within the rows (clamped; no move when there are none); the
// actions need a row with the keyboard.
RowStep rowStep(const QKeyEvent &key, int focusedRow, int rowCount, int pageRows);

// The rows a page key moves over in a view `viewHeight` high: one fewer than it shows, at
// least one, so the row with the keyboard stays in sight.
int pageRows(double viewHeight, double rowHeight);

} // namespace ListKeys
