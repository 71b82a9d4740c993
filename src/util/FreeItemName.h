#pragma once

#include <QString>

// Names that keep both: when an item is to land in a folder where its name is taken, it gets
// the next free name in the usual style, the number before the extension ("Photos.zip" →
// "Photos 2.zip" → "Photos 3.zip", "notes" → "notes 2"). A compressed tar keeps ".tar" with
// its extension ("a.tar.gz" → "a 2.tar.gz"), so that it still reads as one kind. A name ending
// in a number this rule could have added (" 2" to " 99", no leading zero) counts on from it
// ("Photos 2.zip" → "Photos 3.zip"); any other number is part of the name ("Holiday 2024.zip"
// → "Holiday 2024 2.zip", "Take 1" → "Take 1 2").
//
// A name is taken when anything stands there, a dangling link included. The answer can be
// overtaken by another writer before the caller uses it; callers that must never replace
// still create without replacing.
//
// Thread-safety: keeps no state; safe on any thread.
namespace FreeItemName {

// `name` itself when nothing named so lies in `folderPath`, else the next free numbered name.
QString in(const QString &folderPath, const QString &name);

// The name numbered `number` (2 or more) in the style above.
QString numbered(const QString &name, int number);

} // namespace FreeItemName
