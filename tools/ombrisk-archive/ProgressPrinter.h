#pragma once

#include <ArchiveProgress.h>

// Writes progress as lines on standard error ("progress: 42% 120/300 docs/a.txt", names
// escaped) and cancels after SIGINT, SIGTERM or SIGHUP, or once a progress line can't be
// written (its reader went away; SIGPIPE is ignored), so a stopped run still cleans up after
// itself.
class ProgressPrinter final : public ArchiveProgressDelegate {
public:
    explicit ProgressPrinter(bool printing);
    void archiveProgressChanged(const ArchiveProgress &progress) override;
    bool isArchiveCancelled() override;

private:
    bool m_printing;
    bool m_writeFailed = false;
};
