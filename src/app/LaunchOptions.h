#pragma once

#include <QCoreApplication>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

// What the command line asks of a start: `--help`, `--window-size WxH`, `--screenshot FILE`,
// `--open PICKER_PATH`, `--info PICKER_PATH`, `--contents PICKER_PATH[/INNER]` (and `--root DIR`,
// which AppDirectories reads itself), then the files to hand over: every argument that is no option
// (all after "--"), a path (relative to the working directory) or a URL. Qt's own options are taken
// out of the arguments by the application object before they are read here.
struct LaunchOptions {
    Q_DECLARE_TR_FUNCTIONS(LaunchOptions)

public:
    QSize windowSize{420, 760};
    QString screenshotPath; // empty: keep the window open
    QString openPath;       // empty: the home folder alone
    QString infoPath;       // empty: no properties sheet
    QString contentsPath;   // empty: no archive's contents
    QList<QUrl> handedOver; // files as file URLs, in the order given; other URLs as they are
    bool helpRequested = false;
    QString error; // set when the command line is wrong

    // `workingDirectory` is what relative file paths are relative to.
    static LaunchOptions fromArguments(const QStringList &arguments,
                                       const QString &workingDirectory = {});
    // Whether `arguments` ask for the usage alone; read before the application object is made,
    // so that `--help` needs no display and touches nothing.
    static bool asksForHelp(const QStringList &arguments);
    // The usage text, several lines, translated.
    static QString usage();
    // The picker paths to push above the home folder for `openPath`: "/A/B" gives "/A", "/A/B".
    QStringList pathsToOpen() const;
    // The same for `infoPath`: the last one is the item whose properties are shown.
    QStringList pathsToInfo() const;
    // The same for `contentsPath`: the archive is one of them, the rest its inner folders.
    QStringList pathsToContents() const;
    // The options that shape the window of a first start, which a start that hands its files
    // to a running instance cannot apply; empty when none was given.
    QStringList windowOptionsGiven() const;
};
