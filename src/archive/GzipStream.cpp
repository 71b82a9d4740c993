#include "GzipStream.h"

#include <cerrno>
#include <cstring>
#include <isa-l/igzip_lib.h>
#include <unistd.h>

namespace {

constexpr size_t inputSize = 256 * 1024;
constexpr size_t outputSize = 1024 * 1024;
constexpr unsigned char signature[] = {0x1f, 0x8b, 0x08}; // and deflate, the one method

void startMember(inflate_state *state)
{
    // A fresh state for the member, keeping the input not yet read.
    auto *next = state->next_in;
    const auto available = state->avail_in;
    isal_inflate_init(state);
    state->crc_flag = ISAL_GZIP;
    state->next_in = next;
    state->avail_in = available;
}

} // namespace

GzipStream::GzipStream(Fd file)
    : m_file(std::move(file)), m_state(std::make_unique<inflate_state>()), m_input(inputSize),
      m_output(outputSize)
{
    m_state->next_in = m_input.data();
    m_state->avail_in = 0;
    startMember(m_state.get());
}

GzipStream::~GzipStream() = default;

bool GzipStream::beginsGzip(int fd)
{
    unsigned char head[sizeof signature] = {};
    return ::pread(fd, head, sizeof head, 0) == ssize_t(sizeof head) &&
           std::memcmp(head, signature, sizeof head) == 0;
}

int GzipStream::openOn(struct archive *archive)
{
    return archive_read_open(
        archive, this, nullptr,
        [](struct archive *a, void *self, const void **buffer) {
            return static_cast<GzipStream *>(self)->read(a, buffer);
        },
        nullptr);
}

la_ssize_t GzipStream::read(struct archive *archive, const void **buffer)
{
    auto *state = m_state.get();
    while (!m_finished) {
        if (state->block_state == ISAL_BLOCK_FINISH) {
            bool follows = false;
            if (!nextMemberFollows(&follows))
                return fail(archive, m_readErrno, "gzip input could not be read");
            if (!follows) {
                m_finished = true;
                break;
            }
            startMember(state);
        }
        if (state->avail_in == 0) {
            if (m_endOfFile)
                return fail(archive, EINVAL, "truncated gzip input");
            if (!refill())
                return fail(archive, m_readErrno, "gzip input could not be read");
            continue;
        }
        state->next_out = m_output.data();
        state->avail_out = uint32_t(m_output.size());
        const auto unread = state->avail_in;
        if (isal_inflate(state) < 0 ||
            (state->avail_in == unread && state->avail_out == m_output.size() &&
             state->block_state != ISAL_BLOCK_FINISH)) // no step forward: never ends
            return fail(archive, EINVAL, "gzip decompression failed");
        const auto produced = m_output.size() - state->avail_out;
        if (produced > 0) {
            *buffer = m_output.data();
            return la_ssize_t(produced);
        }
    }
    *buffer = nullptr;
    return 0;
}

la_ssize_t GzipStream::fail(struct archive *archive, int code, const char *message)
{
    m_failure = message;
    archive_set_error(archive, code, "%s", message);
    return ARCHIVE_FATAL;
}

bool GzipStream::refill()
{
    // What is left moves to the front, so a member's signature is seen whole.
    auto *state = m_state.get();
    std::memmove(m_input.data(), state->next_in, state->avail_in);
    ssize_t n;
    do {
        n = ::read(m_file.get(), m_input.data() + state->avail_in,
                   m_input.size() - state->avail_in);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        m_readErrno = errno;
        return false;
    }
    m_endOfFile = n == 0;
    state->next_in = m_input.data();
    state->avail_in += uint32_t(n);
    return true;
}

bool GzipStream::nextMemberFollows(bool *follows)
{
    auto *state = m_state.get();
    while (state->avail_in < sizeof signature && !m_endOfFile)
        if (!refill())
            return false;
    *follows = state->avail_in >= sizeof signature &&
               std::memcmp(state->next_in, signature, sizeof signature) == 0;
    return true;
}
