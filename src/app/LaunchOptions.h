#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

// What the command line asks of a start: `--window-size WxH`, `--screenshot FILE`,
// `--open PICKER_PATH`, `--info PICKER_PATH` (and `--root DIR`, which AppDirectories reads
// itself).
struct LaunchOptions {
    QSize windowSize{420, 760};
    QString screenshotPath; // empty: keep the window open
    QString openPath;       // empty: the home folder alone
    QString infoPath;       // empty: no properties sheet
    QString error;          // set when the command line is wrong

    static LaunchOptions fromArguments(const QStringList &arguments);
    // The picker paths to push above the home folder for `openPath`: "/A/B" gives "/A", "/A/B".
    QStringList pathsToOpen() const;
    // The same for `infoPath`: the last one is the item whose properties are shown.
    QStringList pathsToInfo() const;
};
