#include "ToolProcess.h"

#include "ArchiveErrors.h"

#include <QProcess>
#include <QStandardPaths>
#include <fcntl.h>

namespace {
constexpr int pollMs = 100;
}

ToolProcess::ToolProcess(QString program, OutputLines lines)
    : m_program(std::move(program)), m_lines(lines)
{
}

void ToolProcess::setEnvironmentVariable(const QString &name, const QString &value)
{
    m_environment.append({name, value});
}

ToolProcess::Result ToolProcess::run(const QStringList &arguments, const QByteArray &input,
                                     ProgressReporter *progress)
{
    Result result;
    const auto executable = QStandardPaths::findExecutable(m_program);
    if (executable.isEmpty())
        return result;
    QProcess process;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    for (const auto &[name, value] : std::as_const(m_environment))
        environment.insert(name, value);
    process.setProcessEnvironment(environment);
    // Runs in the child between fork and exec: only async-signal-safe calls.
    process.setChildProcessModifier([inherited = m_inherited] {
        for (const int fd : inherited)
            ::fcntl(fd, F_SETFD, 0);
    });
    process.start(executable, arguments);
    if (!process.waitForStarted(-1))
        return result;
    result.started = true;
    process.write(input);
    process.closeWriteChannel();
    QByteArray pending;
    while (process.state() != QProcess::NotRunning) {
        if (progress && progress->isCancelled()) {
            process.kill();
            process.waitForFinished(-1);
            result.cancelled = true;
            return result;
        }
        process.waitForReadyRead(pollMs);
        const auto chunk = process.readAllStandardOutput();
        result.output += chunk;
        if (m_lines == OutputLines::Read) {
            pending += chunk;
            for (const auto &line : takeLines(pending, false))
                outputLine(line);
        }
        result.errors += process.readAllStandardError();
    }
    const auto rest = process.readAllStandardOutput();
    result.output += rest;
    if (m_lines == OutputLines::Read) {
        pending += rest;
        for (const auto &line : takeLines(pending, true))
            outputLine(line);
    }
    result.errors += process.readAllStandardError();
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    return result;
}

Error ToolProcess::abnormalEnd(const Result &result) const
{
    if (!result.started)
        return ArchiveErrors::toolFailed(m_program, ArchiveErrors::tr("it is not installed"));
    if (result.cancelled)
        return ArchiveErrors::cancelled();
    if (result.crashed)
        return ArchiveErrors::toolFailed(m_program, ArchiveErrors::tr("it crashed"));
    return {};
}

QStringList ToolProcess::takeLines(QByteArray &pending, bool flush)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < pending.size(); ++i) {
        const char c = pending.at(i);
        if (c != '\n' && c != '\r' && c != '\b')
            continue;
        if (i > start)
            lines << FileNameCodec::decode(pending.mid(start, i - start));
        start = i + 1;
    }
    if (flush && start < pending.size())
        lines << FileNameCodec::decode(pending.mid(start));
    pending.remove(0, flush ? pending.size() : start);
    return lines;
}
