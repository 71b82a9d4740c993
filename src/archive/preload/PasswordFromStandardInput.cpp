// Preloaded into lsar and unar (see PreloadedPassword.h): before the tool's main() runs, the
// placeholder that follows its "-p" is replaced by the password read from standard input, so
// the password is in the tool's memory but never on its command line, which every local user
// can read. Only the C library is used: this runs inside another program.

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

constexpr char placeholder[] = "ombrisk-password-on-standard-input";
constexpr size_t largestPassword = 64 * 1024;

char *readStandardInput()
{
    auto *buffer = static_cast<char *>(std::malloc(largestPassword + 1));
    if (!buffer)
        return nullptr;
    size_t size = 0;
    while (size < largestPassword) {
        const ssize_t n = ::read(STDIN_FILENO, buffer + size, largestPassword - size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        size += size_t(n);
    }
    buffer[size] = '\0';
    return buffer;
}

// The C library calls the constructors of preloaded libraries with main()'s own arguments.
__attribute__((constructor)) void takePasswordFromStandardInput(int argc, char **argv, char **)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-p") != 0 || std::strcmp(argv[i + 1], placeholder) != 0)
            continue;
        if (char *password = readStandardInput())
            argv[i + 1] = password;
        return;
    }
}

} // namespace
