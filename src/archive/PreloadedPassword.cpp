#include "PreloadedPassword.h"

#include "ArchiveErrors.h"
#include "ArchiveFile.h"

#include <cerrno>
#include <sys/mman.h>
#include <unistd.h>

// The bytes of the preloaded library (made by EmbedFile.cmake).
extern const unsigned char passwordPreloadLibrary[];
extern const std::size_t passwordPreloadLibrary_size;

namespace {

const QString placeholder = QStringLiteral("ombrisk-password-on-standard-input");

Fd libraryFile()
{
    Fd file(::memfd_create("ombrisk-password-preload", MFD_CLOEXEC));
    size_t written = 0;
    while (file.isValid() && written < passwordPreloadLibrary_size) {
        const auto n = ::write(file.get(), passwordPreloadLibrary + written,
                               passwordPreloadLibrary_size - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Fd();
        written += size_t(n);
    }
    return file;
}

} // namespace

PreloadedPassword::PreloadedPassword(const QString &password, Error *error)
    : m_password(password.toUtf8())
{
    if (m_password.isEmpty())
        return;
    m_library = libraryFile();
    if (!m_library.isValid())
        fail(error, ArchiveErrors::fromErrno(errno, QStringLiteral("memfd")));
}

void PreloadedPassword::prepare(ToolProcess &tool) const
{
    if (!m_library.isValid())
        return;
    tool.inheritDescriptor(m_library.get());
    auto preload = QString::fromLatin1(ArchiveFile::descriptorPath(m_library.get()));
    if (const auto others = qEnvironmentVariable("LD_PRELOAD"); !others.isEmpty())
        preload += u':' + others;
    tool.setEnvironmentVariable(QStringLiteral("LD_PRELOAD"), preload);
}

QStringList PreloadedPassword::arguments() const
{
    if (m_password.isEmpty())
        return {};
    return {QStringLiteral("-p"), placeholder};
}
