#include "UnarBackend.h"

#include "ArchiveErrors.h"
#include "PreloadedPassword.h"
#include "ToolProcess.h"
#include "UnarOutput.h"

#include <FileNameCodec.h>
#include <LocalPaths.h>
#include <QDir>
#include <QHash>
#include <QTemporaryDir>
#include <optional>
#include <unistd.h>

namespace {

// A folder of its own holding one link to the archive, so no sibling is taken for a volume.
class PrivateLink {
public:
    explicit PrivateLink(const QString &archivePath)
        : m_folder(QDir::tempPath() + QStringLiteral("/ombrisk-rar-XXXXXX")),
          m_path(m_folder.filePath(QStringLiteral("archive.rar")))
    {
        if (!m_folder.isValid() ||
            ::symlink(FileNameCodec::encode(LocalPaths::absolute(archivePath)).constData(),
                      FileNameCodec::encode(m_path).constData()) != 0)
            m_path.clear();
    }
    const QString &path() const { return m_path; }

private:
    QTemporaryDir m_folder;
    QString m_path;
};

// Runs `tool` on the archive's private link, the password given through the preload.
std::optional<ToolProcess::Result> runOnLink(ToolProcess &tool, const QString &archivePath,
                                             const QStringList &options, const QString &password,
                                             ProgressReporter *progress, Error *error)
{
    const PrivateLink link(archivePath);
    if (link.path().isEmpty()) {
        fail(error, ArchiveErrors::writeFailed(
                        QDir::tempPath(), ArchiveErrors::tr("no private folder could be made")));
        return std::nullopt;
    }
    const PreloadedPassword secret(password, error);
    if (!secret.isValid())
        return std::nullopt;
    secret.prepare(tool);
    auto result =
        tool.run(options + secret.arguments() + QStringList{QStringLiteral("--"), link.path()},
                 secret.input(), progress);
    if (auto abnormal = tool.abnormalEnd(result); abnormal.isSet()) {
        fail(error, abnormal);
        return std::nullopt;
    }
    return result;
}

class UnarExtraction final : public ToolProcess {
public:
    UnarExtraction(ProgressReporter &progress, const ArchiveListing &listing)
        : ToolProcess(QStringLiteral("unar"), OutputLines::Read), m_progress(progress)
    {
        for (const auto &entry : listing.entries)
            m_sizes.insert(entry.path, entry.size);
    }

private:
    void outputLine(const QString &line) override
    {
        const auto entry = UnarOutput::entryOfLine(line);
        if (entry.isEmpty())
            return;
        m_progress.entryStarted(entry);
        m_progress.addBytes(m_sizes.value(entry));
        m_progress.entryFinished();
    }

    ProgressReporter &m_progress;
    QHash<QString, qint64> m_sizes;
};

} // namespace

const BackendCapabilities &UnarBackend::capabilities() const
{
    static const BackendCapabilities caps{
        QStringLiteral("unar"), BackendCapabilities::PasswordChannel::StandardInput, true, false};
    return caps;
}

bool UnarBackend::list(const QString &archivePath, const QString &password, ArchiveListing *listing,
                       ProgressReporter *progress, Error *error)
{
    ToolProcess tool(QStringLiteral("lsar"));
    const auto ran = runOnLink(tool, archivePath, {QStringLiteral("-j"), QStringLiteral("-nr")},
                               password, progress, error);
    if (!ran)
        return false;
    const auto &result = *ran;
    const auto parsed = UnarOutput::parseListing(result.output);
    if (parsed.unsupportedEncryption && !password.isEmpty())
        return fail(error, ArchiveErrors::unsupportedEncryption(ArchiveKind::Rar));
    if (parsed.lsarError == UnarOutput::lsarPasswordError)
        return fail(error, password.isEmpty() ? ArchiveErrors::passwordRequired(ArchiveKind::Rar)
                                              : ArchiveErrors::incorrectPassword());
    if (result.exitCode != 0 || !parsed.parsed || parsed.lsarError != 0) {
        const auto failure = UnarOutput::failureFrom(result.text(), !password.isEmpty());
        if (failure.code == ArchiveErrors::PasswordRequired)
            listing->headerEncrypted = listing->needsPassword = true;
        return fail(error, failure);
    }
    *listing = parsed.listing;
    return true;
}

bool UnarBackend::extract(const QString &archivePath, const QString &stagingPath,
                          const QString &password, const ArchiveListing &listing,
                          ProgressReporter &progress, Error *error)
{
    progress.setTotals(listing.totalSize, listing.entries.size());
    UnarExtraction tool(progress, listing);
    const auto ran = runOnLink(tool, archivePath,
                               {QStringLiteral("-f"), QStringLiteral("-D"), QStringLiteral("-nr"),
                                QStringLiteral("-o"), stagingPath},
                               password, &progress, error);
    if (!ran)
        return false;
    if (ran->exitCode != 0)
        return fail(error, UnarOutput::failureFrom(ran->text(), !password.isEmpty(), listing));
    return true;
}
