#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The parsed arguments of ombrisk-archive: a command, its operands and the flags.
struct CommandLine {
    QString command; // "needs-password", "list", "extract", "compress", "help"
    QStringList operands;
    bool passwordFromStdin = false;
    bool progress = false;
    bool noTrash = false; // extract: delete the replaced items instead of keeping them
    bool replace = false; // compress: an item at the target may be replaced

    // Nothing, with `problem` set, when the arguments don't form a valid call.
    static std::optional<CommandLine> parse(const QStringList &arguments, QString *problem);
    static QString helpText();
};
