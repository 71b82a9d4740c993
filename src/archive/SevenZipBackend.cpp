#include "SevenZipBackend.h"

#include "ArchiveErrors.h"
#include "ArchiveFile.h"
#include "SevenZipOutput.h"
#include "StagingFolder.h"
#include "ToolProcess.h"

#include <FileNameCodec.h>
#include <cerrno>
#include <fcntl.h>

namespace {

const QString sevenZipProgram = QStringLiteral("7zz");

QByteArray passwordInput(const QString &password)
{
    return password.isEmpty() ? QByteArray() : password.toUtf8() + '\n';
}

// 7zz reads the archive's name as a pattern ("w?.7z" takes "wx.7z" too) and puts the archive's
// own name in place of a "*" of the output folder: it gets paths that name descriptors it
// inherits instead, which hold neither, and the file it reads can't be swapped meanwhile.
class DescriptorPaths {
public:
    DescriptorPaths(ToolProcess &tool, const QString &archivePath, const QString &outputFolder,
                    Error *error)
        : m_archive(ArchiveFile::open(archivePath, error))
    {
        if (!m_archive.isValid())
            return;
        tool.inheritDescriptor(m_archive.get());
        if (outputFolder.isEmpty())
            return;
        m_output = Fd(::open(FileNameCodec::encode(outputFolder).constData(),
                             O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!m_output.isValid()) {
            fail(error, ArchiveErrors::fromErrno(errno, outputFolder));
            m_archive = Fd();
            return;
        }
        tool.inheritDescriptor(m_output.get());
    }

    bool isValid() const { return m_archive.isValid(); }
    QString archive() const
    {
        return QString::fromLatin1(ArchiveFile::descriptorPath(m_archive.get()));
    }
    QString output() const
    {
        return QString::fromLatin1(ArchiveFile::descriptorPath(m_output.get()));
    }

private:
    Fd m_archive;
    Fd m_output;
};

// Turns 7zz's progress meter into reporter calls.
class SevenZipExtraction final : public ToolProcess {
public:
    SevenZipExtraction(ProgressReporter &progress, qint64 totalBytes)
        : ToolProcess(sevenZipProgram, OutputLines::Read), m_progress(progress),
          m_totalBytes(totalBytes)
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
                           ArchiveListing *listing, ProgressReporter *progress, Error *error)
{
    ToolProcess tool(sevenZipProgram);
    const DescriptorPaths paths(tool, archivePath, QString(), error);
    if (!paths.isValid())
        return false;
    const auto result =
        tool.run({QStringLiteral("l"), QStringLiteral("-slt"), QStringLiteral("-ba"),
                  QStringLiteral("-sccUTF-8"), QStringLiteral("--"), paths.archive()},
                 passwordInput(password), progress);
    if (auto abnormal = tool.abnormalEnd(result); abnormal.isSet())
        return fail(error, abnormal);
    if (result.exitCode != 0) {
        if (password.isEmpty() && SevenZipOutput::askedForPassword(result.text())) {
            listing->headerEncrypted = listing->needsPassword = true;
            return fail(error, ArchiveErrors::passwordRequired(ArchiveKind::SevenZip));
        }
        return fail(error, SevenZipOutput::failureFrom(result.text(), !password.isEmpty()));
    }
    *listing = SevenZipOutput::parseTechnicalListing(FileNameCodec::decode(result.output));
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
    const DescriptorPaths paths(tool, archivePath, stagingPath, error);
    if (!paths.isValid())
        return false;
    const auto result =
        tool.run({QStringLiteral("x"), QStringLiteral("-y"), QStringLiteral("-bsp1"),
                  QStringLiteral("-bb1"), QStringLiteral("-bso1"), QStringLiteral("-sccUTF-8"),
                  QStringLiteral("-o") + paths.output(), QStringLiteral("--"), paths.archive()},
                 passwordInput(password), &progress);
    if (auto abnormal = tool.abnormalEnd(result); abnormal.isSet())
        return fail(error, abnormal);
    if (result.exitCode != 0)
        return fail(
            error, SevenZipOutput::failureFrom(result.text(), !password.isEmpty(), paths.output()));
    return true;
}
