// ombrisk-archive: a thin front over ArchiverManager for scripts, tests and benchmarks.

#include "CommandLine.h"
#include "Printable.h"
#include "ProgressPrinter.h"

#include <ArchiverManager.h>
#include <QLocale>
#include <Translations.h>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

int reportFailure(const Error &error)
{
    std::fprintf(stderr, "error: %s %d: %s\n", qPrintable(error.domain), error.code,
                 printable(error.message).toUtf8().constData());
    return 1;
}

QString passwordFromStdin()
{
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromStdString(line);
}

char typeLetter(ArchiveEntry::Type type)
{
    switch (type) {
    case ArchiveEntry::Type::Directory:
        return 'd';
    case ArchiveEntry::Type::SymbolicLink:
        return 'l';
    default:
        return 'f';
    }
}

int listArchive(const QString &archive, const QString &password)
{
    Error error;
    const auto entries = ArchiverManager::listEntriesAtPath(archive, password, &error);
    if (error)
        return reportFailure(error);
    for (const auto &entry : entries)
        std::printf("%c %lld %s\n", typeLetter(entry.type), static_cast<long long>(entry.size),
                    printable(entry.path).toUtf8().constData());
    return 0;
}

int extractArchive(const QString &archive, const QString &destination, const QString &password,
                   ReplacedItems replaced, ProgressPrinter &printer)
{
    Error error;
    ExtractionResult result;
    ArchiverManager::decompressAtPath(QFileInfo(archive).absoluteFilePath(),
                                      QFileInfo(destination).absoluteFilePath(), password, &error,
                                      &printer, &result, replaced);
    if (error)
        return reportFailure(error);
    const auto kept = result.replacedInTrash ? result.replacedInTrash->path() : result.replacedFolder;
    if (result.replacedCount > 0)
        std::printf("replaced %d item%s%s%s\n", result.replacedCount,
                    result.replacedCount == 1 ? "" : "s", kept.isEmpty() ? "" : ", kept in ",
                    printable(kept).toUtf8().constData());
    return 0;
}

int compressItems(const QString &archive, const QStringList &items, const QString &password,
                  ProgressPrinter &printer)
{
    QStringList absolute;
    for (const auto &item : items)
        absolute << QFileInfo(item).absoluteFilePath();
    Error error;
    ArchiverManager::compressZipAtPaths(absolute, QFileInfo(archive).absoluteFilePath(), password,
                                        &error, &printer);
    return error ? reportFailure(error) : 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // Messages stay English for scripts; the English catalogue gives the counted ones their
    // plural forms.
    Translations::install(app, QLocale(QLocale::English));
    QString problem;
    const auto line = CommandLine::parse(app.arguments(), &problem);
    if (!line) {
        std::fprintf(stderr, "ombrisk-archive: %s (see --help)\n", qPrintable(problem));
        return 2;
    }
    if (line->command == QLatin1String("help")) {
        std::fputs(CommandLine::helpText().toUtf8().constData(), stdout);
        return 0;
    }
    const auto password = line->passwordFromStdin ? passwordFromStdin() : QString();
    ProgressPrinter printer(line->progress);
    const auto &operands = line->operands;
    if (line->command == QLatin1String("needs-password")) {
        Error error;
        const bool needed = ArchiverManager::checkNeedPassword(operands[0], &error);
        if (error)
            return reportFailure(error);
        std::puts(needed ? "yes" : "no");
        return 0;
    }
    if (line->command == QLatin1String("list"))
        return listArchive(operands[0], password);
    if (line->command == QLatin1String("extract"))
        return extractArchive(operands[0], operands[1], password,
                              line->noTrash ? ReplacedItems::Delete : ReplacedItems::ToTrash,
                              printer);
    return compressItems(operands[0], operands.mid(1), password, printer);
}
