#pragma once

#include <ArchiveProgress.h>

// Writes progress as lines on standard error ("progress: 42% 120/300 docs/a.txt") and
// cancels after SIGINT or SIGTERM, so an interrupted run still cleans up after itself.
class ProgressPrinter final : public ArchiveProgressDelegate {
public:
    explicit ProgressPrinter(bool printing);
    void archiveProgressChanged(const ArchiveProgress &progress) override;
    bool isArchiveCancelled() override;

private:
    bool m_printing;
};
