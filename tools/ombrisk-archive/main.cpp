// ombrisk-archive: a thin front over ArchiverManager for scripts, tests and benchmarks.

#include "CommandLine.h"
#include "ProgressPrinter.h"

#include <ArchiverManager.h>
#include <FileNameCodec.h>
#include <LocalPaths.h>
#include <Printable.h>
#include <QLocale>
#include <Translations.h>
#include <QCoreApplication>
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

int listArchive(const QString &archive, const QString &password, ProgressPrinter &printer)
{
    Error error;
    const auto entries = ArchiverManager::listEntriesAtPath(archive, password, &error, &printer);
    if (error)
        return reportFailure(error);
    for (const auto &entry : entries)
        std::printf("%c %lld %s\n", typeLetter(entry.type), static_cast<long long>(entry.size),
                    printable(entry.path).toUtf8().constData());
    return 0;
}

int extractArchive(const QString &archive, const QString &destination, const QStringList &items,
                   const QString &password, ReplacedItems replaced, ProgressPrinter &printer)
{
    Error error;
    ExtractionResult result;
    if (items.isEmpty()) {
        ArchiverManager::decompressAtPath(LocalPaths::absolute(archive),
                                          LocalPaths::absolute(destination), password, &error,
                                          &printer, &result, replaced);
    } else {
        EntrySelection selection;
        for (const auto &item : items)
            selection.items.append({item, item.section(u'/', -1, -1, QString::SectionSkipEmpty)});
        ArchiverManager::extractEntriesAtPath(LocalPaths::absolute(archive), selection,
                                              LocalPaths::absolute(destination), password, &error,
                                              &printer, &result, {}, replaced);
    }
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
                  ZipTarget::Existing existing, ProgressPrinter &printer)
{
    QStringList absolute;
    for (const auto &item : items)
        absolute << LocalPaths::absolute(item);
    Error error;
    ArchiverManager::compressZipAtPaths(absolute, LocalPaths::absolute(archive), password, &error,
                                        &printer, existing);
    return error ? reportFailure(error) : 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // Messages stay English for scripts; the English catalogue gives the counted ones their
    // plural forms.
    Translations::install(app, QLocale(QLocale::English));
    // Paths as the disk spells them: a name that is not UTF-8 keeps its bytes.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << FileNameCodec::decode(argv[i]);
    QString problem;
    const auto line = CommandLine::parse(arguments, &problem);
    if (!line) {
        std::fprintf(stderr, "ombrisk-archive: %s (see --help)\n", qPrintable(problem));
        return 2;
    }
    if (line->command == QLatin1String("help")) {
        std::fputs(CommandLine::helpText().toUtf8().constData(), stdout);
        return 0;
    }
    const auto password = line->passwordFromStdin ? passwordFromStdin() : QString();
    // An empty password would be no password: a zip left unencrypted, an archive read as if
    // none was asked for.
    if (line->passwordFromStdin && password.isEmpty()) {
        std::fputs("ombrisk-archive: --password-stdin read an empty password\n", stderr);
        return 2;
    }
    ProgressPrinter printer(line->progress);
    const auto &operands = line->operands;
    if (line->command == QLatin1String("needs-password")) {
        Error error;
        const bool needed = ArchiverManager::checkNeedPassword(operands[0], &error, &printer);
        if (error)
            return reportFailure(error);
        std::puts(needed ? "yes" : "no");
        return 0;
    }
    if (line->command == QLatin1String("list"))
        return listArchive(operands[0], password, printer);
    if (line->command == QLatin1String("extract"))
        return extractArchive(operands[0], operands[1], operands.mid(2), password,
                              line->noTrash ? ReplacedItems::Delete : ReplacedItems::ToTrash,
                              printer);
    return compressItems(operands[0], operands.mid(1), password,
                         line->replace ? ZipTarget::Existing::Replace : ZipTarget::Existing::Refuse,
                         printer);
}
