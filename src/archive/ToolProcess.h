#pragma once

#include "ArchiveProgress.h"

#include <Error.h>
#include <FileNameCodec.h>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// Runs one outside archive tool to completion: argument list (never a shell), standard input
// always given (the bytes passed, then closed, so a tool that would prompt reads end of
// input instead of waiting), output read as it comes and cut into lines at "\n", "\r" and
// the backspaces progress meters use. Subclasses read the lines (outputLine) for progress;
// for the others, such as a listing of many thousand lines, nothing is cut.
// A cancel through the reporter kills the tool.
//
// Thread-safety: one object per run; it may run on any thread (no event loop is needed).
class ToolProcess {
public:
    struct Result {
        bool started = false;
        bool cancelled = false;
        bool crashed = false;
        int exitCode = -1;
        QByteArray output; // standard output
        QByteArray errors; // standard error
        QString text() const { return FileNameCodec::decode(output + '\n' + errors); }
    };

    enum class OutputLines { Ignored, Read };

    explicit ToolProcess(QString program, OutputLines lines = OutputLines::Ignored);
    virtual ~ToolProcess() = default;

    // The tool inherits the descriptor under its own number (for ArchiveFile::descriptorPath),
    // which the caller keeps open until run() returns.
    void inheritDescriptor(int fd) { m_inherited.push_back(fd); }
    // An environment variable for the tool, besides LC_ALL=C.UTF-8.
    void setEnvironmentVariable(const QString &name, const QString &value);

    Result run(const QStringList &arguments, const QByteArray &input,
               ProgressReporter *progress = nullptr);

    // The error for a run that did not end normally (not found, crashed, cancelled), else none.
    Error abnormalEnd(const Result &result) const;

    const QString &program() const { return m_program; }

    // Takes the complete lines off the front of `pending` (all of it when `flush`), cut at
    // "\n", "\r" and "\b"; empty pieces are dropped. Pure, so recorded output can be replayed.
    static QStringList takeLines(QByteArray &pending, bool flush);

protected:
    virtual void outputLine(const QString &line) { Q_UNUSED(line); }

private:
    QString m_program;
    OutputLines m_lines;
    std::vector<int> m_inherited;
    QList<QPair<QString, QString>> m_environment;
};
