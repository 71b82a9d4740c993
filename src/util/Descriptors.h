#pragma once

#include <dirent.h>
#include <memory>

// The one owner of each kind of open handle the code keeps: Fd for a file descriptor, DirStream
// for a DIR* of opendir/fdopendir. Both close on destruction, and move but never copy.
//
// Thread-safety: an owner is one thread's at a time.

// An owned file descriptor, closed on destruction.
class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    Fd(Fd &&other) noexcept : m_fd(other.release()) {}
    Fd &operator=(Fd &&other) noexcept;
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    ~Fd();

    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    int release();
    // Closes now and returns what close(2) said (0, or -1 with errno): a delayed write of a
    // file may fail only here. Closing an invalid Fd returns 0.
    int close();

private:
    int m_fd;
};

struct DirStreamCloser {
    void operator()(DIR *stream) const { ::closedir(stream); }
};
// An owned directory stream, closed on destruction.
using DirStream = std::unique_ptr<DIR, DirStreamCloser>;
