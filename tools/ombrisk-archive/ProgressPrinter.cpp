#include "ProgressPrinter.h"

#include <Printable.h>

#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t interrupted = 0;

void onSignal(int)
{
    interrupted = 1;
}

} // namespace

ProgressPrinter::ProgressPrinter(bool printing) : m_printing(printing)
{
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGHUP, onSignal);
    // A reader of the progress lines that goes away shows as a failed write, not a death.
    std::signal(SIGPIPE, SIG_IGN);
}

void ProgressPrinter::archiveProgressChanged(const ArchiveProgress &progress)
{
    if (!m_printing)
        return;
    const int percent =
        progress.bytesTotal > 0 ? int(progress.bytesDone * 100 / progress.bytesTotal) : -1;
    const auto percentText =
        percent >= 0 ? QStringLiteral("%1%").arg(percent) : QStringLiteral("?%");
    const auto entries =
        progress.entriesTotal > 0
            ? QStringLiteral("%1/%2").arg(progress.entriesDone).arg(progress.entriesTotal)
            : QString::number(progress.entriesDone);
    if (std::fprintf(stderr, "progress: %s %s %s\n", qPrintable(percentText),
                     qPrintable(entries), printable(progress.currentEntry).toUtf8().constData()) < 0)
        m_writeFailed = true;
}

bool ProgressPrinter::isArchiveCancelled()
{
    return interrupted != 0 || m_writeFailed;
}
