#include "UnarBackend.h"

#include "ArchiveErrors.h"
#include "ToolProcess.h"
#include "UnarOutput.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

namespace {

// A folder of its own holding one link to the archive, so no sibling is taken for a volume.
class PrivateLink {
public:
    explicit PrivateLink(const QString &archivePath)
        : m_folder(QDir::tempPath() + QStringLiteral("/ombrisk-rar-XXXXXX")),
          m_path(m_folder.filePath(QStringLiteral("archive.rar")))
    {
        if (!m_folder.isValid() || !QFile::link(QFileInfo(archivePath).absoluteFilePath(), m_path))
            m_path.clear();
    }
    const QString &path() const { return m_path; }

private:
    QTemporaryDir m_folder;
    QString m_path;
};

QStringList withPassword(QStringList arguments, const QString &password)
{
    if (!password.isEmpty())
        arguments << QStringLiteral("-p") << password;
    return arguments;
}

Error noLinkError()
{
    return ArchiveErrors::writeFailed(QDir::tempPath(),
                                      ArchiveErrors::tr("no private folder could be made"));
}

class UnarExtraction final : public ToolProcess {
public:
    UnarExtraction(ProgressReporter &progress, const ArchiveListing &listing)
        : ToolProcess(QStringLiteral("unar")), m_progress(progress)
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
        QStringLiteral("unar"), BackendCapabilities::PasswordChannel::CommandLine, true, false};
    return caps;
}

bool UnarBackend::list(const QString &archivePath, const QString &password, ArchiveListing *listing,
                       Error *error)
{
    const PrivateLink link(archivePath);
    if (link.path().isEmpty())
        return fail(error, noLinkError());
    ToolProcess tool(QStringLiteral("lsar"));
    const auto result =
        tool.run(withPassword({QStringLiteral("-j"), QStringLiteral("-nr")}, password) +
                     QStringList{QStringLiteral("--"), link.path()},
                 QByteArray());
    if (auto abnormal = tool.abnormalEnd(result); abnormal.isSet())
        return fail(error, abnormal);
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
    const PrivateLink link(archivePath);
    if (link.path().isEmpty())
        return fail(error, noLinkError());
    progress.setTotals(listing.totalSize, listing.entries.size());
    UnarExtraction tool(progress, listing);
    const auto result =
        tool.run(withPassword({QStringLiteral("-f"), QStringLiteral("-D"), QStringLiteral("-nr"),
                               QStringLiteral("-o"), stagingPath},
                              password) +
                     QStringList{QStringLiteral("--"), link.path()},
                 QByteArray(), &progress);
    if (auto abnormal = tool.abnormalEnd(result); abnormal.isSet())
        return fail(error, abnormal);
    if (result.exitCode != 0)
        return fail(error, UnarOutput::failureFrom(result.text(), !password.isEmpty(), listing));
    return true;
}
