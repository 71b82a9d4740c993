#include "LaunchOptions.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>

namespace {

std::optional<QSize> parseSize(const QString &text)
{
    const QStringList parts = text.split(u'x');
    if (parts.size() != 2)
        return std::nullopt;
    bool wOk = false, hOk = false;
    const int w = parts.at(0).toInt(&wOk), h = parts.at(1).toInt(&hOk);
    if (!wOk || !hOk || w < 100 || h < 100 || w > 10000 || h > 10000)
        return std::nullopt;
    return QSize(w, h);
}

// "/A/B" gives "/A", "/A/B"; never above the home folder.
QStringList componentPaths(const QString &pickerPath)
{
    QStringList paths;
    QString path;
    const QString clean = QDir::cleanPath(QStringLiteral("/") + pickerPath);
    for (const QString &component : clean.split(u'/', Qt::SkipEmptyParts)) {
        if (component == QLatin1String(".."))
            continue; // a start path never leaves the home folder
        path += u'/' + component;
        paths.append(path);
    }
    return paths;
}

bool isHelp(const QString &argument)
{
    return argument == QLatin1String("--help") || argument == QLatin1String("-h");
}

} // namespace

bool LaunchOptions::asksForHelp(const QStringList &arguments)
{
    return std::any_of(arguments.cbegin() + std::min<qsizetype>(1, arguments.size()),
                       arguments.cend(), isHelp);
}

QString LaunchOptions::usage()
{
    return tr("Usage: ombrisk [OPTION]... [FILE|URL]...\n"
              "A file manager and archiver for one folder tree of its own.\n"
              "Each FILE is copied to the top of the home folder (an archive is unpacked\n"
              "there); when Ombrisk already runs for the same folder tree, it takes the\n"
              "files and comes to the front, and this start ends.\n"
              "\n"
              "  --open PATH         open PATH of the home folder, as \"/A/B\": a folder is\n"
              "                      shown, a file opened as a tap on it opens it\n"
              "  --info PATH         show the properties of the item PATH of the home folder\n"
              "  --contents PATH     show what the archive PATH of the home folder holds;\n"
              "                      an inner folder may follow, as \"/A/Pack.zip/docs\"\n"
              "  --root DIR          keep the home and cache folders in DIR\n"
              "  --window-size WxH   the window's size in points, as 420x760\n"
              "  --screenshot FILE   save the window as a PNG once listed, then quit\n"
              "  -h, --help          show this help and quit\n");
}

LaunchOptions LaunchOptions::fromArguments(const QStringList &arguments,
                                           const QString &workingDirectory)
{
    LaunchOptions options;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &name = arguments.at(i);
        if (optionsEnded || !name.startsWith(u'-') || name == QLatin1String("-")) {
            options.handedOver.append(QUrl::fromUserInput(
                name, workingDirectory.isEmpty() ? QDir::currentPath() : workingDirectory,
                QUrl::AssumeLocalFile));
            continue;
        }
        if (name == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (isHelp(name)) {
            options.helpRequested = true;
            continue;
        }
        const bool takesValue =
            name == QLatin1String("--window-size") || name == QLatin1String("--screenshot") ||
            name == QLatin1String("--open") || name == QLatin1String("--root") ||
            name == QLatin1String("--info") || name == QLatin1String("--contents");
        if (!takesValue) {
            options.error = tr("Unknown option: %1").arg(name);
            return options;
        }
        if (i + 1 >= arguments.size()) {
            options.error = tr("%1 needs a value").arg(name);
            return options;
        }
        const QString value = arguments.at(++i);
        if (name == QLatin1String("--window-size")) {
            const auto size = parseSize(value);
            if (!size) {
                options.error = tr("--window-size wants WIDTHxHEIGHT, such as 420x760");
                return options;
            }
            options.windowSize = *size;
        } else if (name == QLatin1String("--screenshot")) {
            options.screenshotPath = value;
        } else if (name == QLatin1String("--open")) {
            options.openPath = value;
        } else if (name == QLatin1String("--info")) {
            options.infoPath = value;
        } else if (name == QLatin1String("--contents")) {
            options.contentsPath = value;
        }
    }
    return options;
}

QStringList LaunchOptions::pathsToOpen() const
{
    return componentPaths(openPath);
}

QStringList LaunchOptions::pathsToInfo() const
{
    return componentPaths(infoPath);
}

QStringList LaunchOptions::pathsToContents() const
{
    return componentPaths(contentsPath);
}

QStringList LaunchOptions::windowOptionsGiven() const
{
    QStringList given;
    if (windowSize != LaunchOptions().windowSize)
        given << QStringLiteral("--window-size");
    if (!screenshotPath.isEmpty())
        given << QStringLiteral("--screenshot");
    if (!openPath.isEmpty())
        given << QStringLiteral("--open");
    if (!infoPath.isEmpty())
        given << QStringLiteral("--info");
    if (!contentsPath.isEmpty())
        given << QStringLiteral("--contents");
    return given;
}
