#include "CommandLine.h"

#include <QHash>

namespace {

// How many operands each command takes: exactly `min` when max is equal, else at least min.
struct Arity {
    int min;
    int max; // -1: no limit
};

const QHash<QString, Arity> &commands()
{
    static const QHash<QString, Arity> table{
        {QStringLiteral("needs-password"), {1, 1}},
        {QStringLiteral("list"), {1, 1}},
        {QStringLiteral("extract"), {2, -1}},
        {QStringLiteral("compress"), {2, -1}},
    };
    return table;
}

} // namespace

std::optional<CommandLine> CommandLine::parse(const QStringList &arguments, QString *problem)
{
    CommandLine line;
    bool operandsOnly = false;
    for (const auto &argument : arguments.mid(1)) {
        if (!operandsOnly && argument == QLatin1String("--"))
            operandsOnly = true;
        else if (!operandsOnly &&
                 (argument == QLatin1String("--help") || argument == QLatin1String("-h")))
            line.command = QStringLiteral("help");
        else if (!operandsOnly && argument == QLatin1String("--password-stdin"))
            line.passwordFromStdin = true;
        else if (!operandsOnly && argument == QLatin1String("--progress"))
            line.progress = true;
        else if (!operandsOnly && argument == QLatin1String("--no-trash"))
            line.noTrash = true;
        else if (!operandsOnly && argument == QLatin1String("--replace"))
            line.replace = true;
        else if (!operandsOnly && argument.startsWith(u'-') && argument.size() > 1) {
            *problem = QStringLiteral("unknown option %1").arg(argument);
            return std::nullopt;
        } else if (line.command.isEmpty())
            line.command = argument;
        else
            line.operands << argument;
    }
    if (line.command == QLatin1String("help"))
        return line;
    if (line.command.isEmpty()) {
        *problem = QStringLiteral("no command given");
        return std::nullopt;
    }
    const auto arity = commands().find(line.command);
    if (arity == commands().end()) {
        *problem = QStringLiteral("unknown command %1").arg(line.command);
        return std::nullopt;
    }
    if (line.operands.size() < arity->min ||
        (arity->max >= 0 && line.operands.size() > arity->max)) {
        *problem = QStringLiteral("wrong number of operands for %1").arg(line.command);
        return std::nullopt;
    }
    if (line.replace && line.command != QLatin1String("compress")) {
        *problem = QStringLiteral("--replace is for compress only");
        return std::nullopt;
    }
    return line;
}

QString CommandLine::helpText()
{
    return QStringLiteral(
        "Usage: ombrisk-archive COMMAND ARGUMENTS [--password-stdin] [--progress] [--no-trash]\n"
        "       [--replace]\n"
        "\n"
        "The Ombrisk archive engine on the command line: the same calls the application\n"
        "makes, the archive kind picked by the file's extension (zip cbz rar cbr 7z tar gz\n"
        "tgz tbz tbz2 txz tzst bz2 xz zst iso cpio).\n"
        "\n"
        "Commands:\n"
        "  needs-password ARCHIVE      print \"yes\" or \"no\" (fails for a missing or unreadable\n"
        "                              archive)\n"
        "  list ARCHIVE                print one line per entry: type (f, d, l), size, path\n"
        "  extract ARCHIVE DEST        unpack into the folder DEST (made when missing);\n"
        "                              files of the same names there are replaced, and the\n"
        "                              replaced ones kept in the trash as one folder\n"
        "                              \"Replaced by ARCHIVE\" (restored into DEST), or in DEST\n"
        "                              under that name when its disk has no usable trash;\n"
        "                              a line on standard output says how many and where\n"
        "  extract ARCHIVE DEST ENTRY...  unpack only these items (paths as list prints\n"
        "                              them; a folder with all it holds), each at the top\n"
        "                              of DEST under its own name; the whole archive is\n"
        "                              still checked, and nothing is written unless all of\n"
        "                              them unpack\n"
        "  compress ARCHIVE.zip ITEM...  pack files and folders into a new zip; an item\n"
        "                              already at ARCHIVE.zip is never replaced unless\n"
        "                              --replace is given. Links to items packed stay links;\n"
        "                              a link to a file elsewhere is packed as that file\n"
        "\n"
        "Options:\n"
        "  --password-stdin  read the password from the first line of standard input; it\n"
        "                    must not be empty (for compress: encrypt every entry with\n"
        "                    AES-256)\n"
        "  --progress        write progress lines to standard error\n"
        "  --no-trash        extract: delete the replaced files instead of keeping them\n"
        "  --replace         compress: replace a file already at ARCHIVE.zip\n"
        "  --help            show this text\n"
        "\n"
        "Exit status 0 means done. On failure the tool prints\n"
        "  error: DOMAIN CODE: MESSAGE\n"
        "on standard error (for example \"error: Ombrisk 101: incorrect password\") and exits 1.\n"
        "Codes of the domain Ombrisk: 100 password needed, 101 incorrect password, 102 unsafe\n"
        "entry refused, 103 not enough space, 104 unsupported RAR encryption, 105 cancelled,\n"
        "106 unreadable archive (or not a file), 107 write failed, 108 invalid zip target (a\n"
        "folder, one of the items, or taken without --replace), 109 helper tool failed, 110\n"
        "not an archive kind, 111 an item to pack can't be read (or is a fifo, socket or\n"
        "device). A wrong call, or an empty password, exits 2. Ctrl-C, SIGTERM, SIGHUP, or a "
        "--progress reader that goes away,\n"
        "cancels and leaves nothing behind. Entry names are printed with control characters\n"
        "and the bytes of names that are not UTF-8 escaped as \\xNN; on disk such names keep\n"
        "their bytes. The trash is the desktop's (XDG_DATA_HOME/Trash, or the disk's own\n"
        ".Trash-UID); with OMBRISK_ROOT=DIR it is DIR/Trash.\n");
}
