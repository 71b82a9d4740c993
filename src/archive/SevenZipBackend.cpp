#include "SevenZipBackend.h"

#include "ArchiveErrors.h"
#include "SevenZipOutput.h"
#include "StagingFolder.h"
#include "ToolProcess.h"

namespace {

const QString sevenZipProgram = QStringLiteral("7zz");

QByteArray passwordInput(const QString &password)
{
    return password.isEmpty() ? QByteArray() : password.toUtf8() + '\n';
}

// Turns 7zz's progress meter into reporter calls.
class SevenZipExtraction final : public ToolProcess {
public:
    SevenZipExtraction(ProgressReporter &progress, qint64 totalBytes)
        : ToolProcess(sevenZipProgram), m_progress(progress), m_totalBytes(totalBytes)
    {
    }

private:
    void outputLine(const QString &line) override
    {
        const auto parsed = SevenZipOutput::parseProgressLine(line);
        if (!parsed)
            return;
        if (parsed->percent)
            m_progress.setBytesDone(m_totalBytes * *parsed->percent / 100);
        if (!parsed->entry.isEmpty()) {
            if (m_started)
                m_progress.entryFinished();
            m_started = true;
            m_progress.entryStarted(parsed->entry);
        }
    }

    ProgressReporter &m_progress;
    qint64 m_totalBytes;
    bool m_started = false;
};

} // namespace

const BackendCapabilities &SevenZipBackend::capabilities() const
{
    static const BackendCapabilities caps{
        QStringLiteral("7zz"), BackendCapabilities::PasswordChannel::StandardInput, true, false};
    return caps;
}

bool SevenZipBackend::list(const QString &archivePath, const QString &password,
                           ArchiveListing *listing, Error *error)
{
    ToolProcess tool(sevenZipProgram);
    const auto result =
        tool.run({QStringLiteral("l"), QStringLiteral("-slt"), QStringLiteral("-ba"),
                  QStringLiteral("-sccUTF-8"), QStringLiteral("--"), archivePath},
                 passwordInput(password));
    if (auto abnormal = tool.abnormalEnd(result); abnormal.isSet())
        return fail(error, abnormal);
    if (result.exitCode != 0) {
        if (password.isEmpty() && SevenZipOutput::askedForPassword(result.text())) {
            listing->headerEncrypted = listing->needsPassword = true;
            return fail(error, ArchiveErrors::passwordRequired(ArchiveKind::SevenZip));
        }
        return fail(error, SevenZipOutput::failureFrom(result.text(), !password.isEmpty()));
    }
    *listing = SevenZipOutput::parseTechnicalListing(QString::fromUtf8(result.output));
    listing->headerEncrypted = SevenZipOutput::askedForPassword(result.text());
    listing->needsPassword = listing->needsPassword || listing->headerEncrypted;
    return true;
}

bool SevenZipBackend::extract(const QString &archivePath, const QString &stagingPath,
                              const QString &password, const ArchiveListing &listing,
                              ProgressReporter &progress, Error *error)
{
    if (listing.needsPassword)
        return extractWithTool(archivePath, stagingPath, password, listing, progress, error);
    Error inProcessError;
    if (m_inProcess.extract(archivePath, stagingPath, password, listing, progress,
                            &inProcessError))
        return true;
    if (progress.isCancelled() || inProcessError.code != ArchiveErrors::UnreadableArchive)
        return fail(error, inProcessError);
    if (!StagingFolder::clear(stagingPath, error))
        return false;
    progress.setTotals(listing.totalSize, listing.entries.size());
    return extractWithTool(archivePath, stagingPath, password, listing, progress, error);
}

bool SevenZipBackend::extractWithTool(const QString &archivePath, const QString &stagingPath,
                                      const QString &password, const ArchiveListing &listing,
                                      ProgressReporter &progress, Error *error)
{
    SevenZipExtraction tool(progress, listing.totalSize);
    const auto result =
        tool.run({QStringLiteral("x"), QStringLiteral("-y"), QStringLiteral("-bsp1"),
                  QStringLiteral("-bb1"), QStringLiteral("-bso1"), QStringLiteral("-sccUTF-8"),
                  QStringLiteral("-o") + stagingPath, QStringLiteral("--"), archivePath},
                 passwordInput(password), &progress);
    if (auto abnormal = tool.abnormalEnd(result); abnormal.isSet())
        return fail(error, abnormal);
    if (result.exitCode != 0)
        return fail(error,
                    SevenZipOutput::failureFrom(result.text(), !password.isEmpty(), stagingPath));
    return true;
}
