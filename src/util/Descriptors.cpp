#include "Descriptors.h"

#include <unistd.h>

Fd &Fd::operator=(Fd &&other) noexcept
{
    if (this != &other) {
        close();
        m_fd = other.release();
    }
    return *this;
}

Fd::~Fd()
{
    close();
}

int Fd::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

int Fd::close()
{
    const int fd = release();
    return fd >= 0 ? ::close(fd) : 0;
}
