#pragma once

#include <QCoreApplication>
#include <QString>

class TextNotice;

// Opening a file with the application the desktop has for its kind, outside Ombrisk
// (QDesktopServices: xdg-open, or the OpenURI portal when sandboxed, as Qt decides).
//
// Thread-safety: main thread only.
class DefaultApplication {
    Q_DECLARE_TR_FUNCTIONS(DefaultApplication)

public:
    DefaultApplication() = delete;

    // Opens the item at `path`; when the desktop can't, says so on `notice`. False then.
    static bool open(const QString &path, TextNotice *notice);
};
