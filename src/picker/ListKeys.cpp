#include "ListKeys.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace ListKeys {

Command command(const QKeyEvent &key)
{
    const bool control = key.modifiers() & Qt::ControlModifier;
    if (key.matches(QKeySequence::Find))
        return Command::Find;
    if (key.key() == Qt::Key_Escape)
        return Command::Escape;
    if (key.key() == Qt::Key_F5 || (control && key.key() == Qt::Key_R))
        return Command::Reload;
    if (key.matches(QKeySequence::SelectAll))
        return Command::SelectAll;
    if (key.key() == Qt::Key_Delete)
        return key.modifiers() & Qt::ShiftModifier ? Command::DeleteForGood : Command::Delete;
    if (key.key() == Qt::Key_F2)
        return Command::Rename;
    if (key.matches(QKeySequence::Copy))
        return Command::Copy;
    if (key.matches(QKeySequence::Cut))
        return Command::Cut;
    if (key.matches(QKeySequence::Paste))
        return Command::Paste;
    return Command::None;
}

namespace {

bool isReturn(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The row a moving key goes to, or nullopt for other keys.
std::optional<int> movedTo(int key, int focusedRow, int rowCount, int pageRows)
{
    switch (key) {
    case Qt::Key_Up:
        return focusedRow - 1;
    case Qt::Key_Down:
        return focusedRow + 1;
    case Qt::Key_Home:
        return 0;
    case Qt::Key_End:
        return rowCount - 1;
    case Qt::Key_PageUp:
        return focusedRow - pageRows;
    case Qt::Key_PageDown:
        return focusedRow + pageRows;
    default:
        return std::nullopt;
    }
}

} // namespace

RowStep rowStep(const QKeyEvent &key, int focusedRow, int rowCount, int pageRows)
{
    using Kind = RowStep::Kind;
    if (const auto to = movedTo(key.key(), focusedRow, rowCount, pageRows))
        return {Kind::Focus, rowCount > 0 ? std::clamp(*to, 0, rowCount - 1) : -1};
    const bool onRow = focusedRow >= 0 && focusedRow < rowCount;
    const auto modifiers = key.modifiers();
    if (isReturn(key.key()) && onRow)
        return {modifiers & Qt::ControlModifier ? Kind::ShowContents : Kind::Open, focusedRow};
    const bool menuKey =
        key.key() == Qt::Key_Menu || (key.key() == Qt::Key_F10 && (modifiers & Qt::ShiftModifier));
    if (menuKey && onRow)
        return {Kind::Menu, focusedRow};
    const bool plain = !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const QString text = key.text();
    if (plain && text.size() == 1 && text.at(0) > u' ' && text.at(0) != QChar(0x7f))
        return {Kind::TypeAhead, focusedRow};
    return {};
}

int pageRows(double viewHeight, double rowHeight)
{
    if (rowHeight <= 0)
        return 1;
    return std::max(1, int(std::floor(viewHeight / rowHeight)) - 1);
}

} // namespace ListKeys
