#pragma once

#include <cerrno>
#include <QByteArrayView>
#include <unistd.h>

// Writes all of `bytes` to `fd`, going on after partial writes and interruptions; false (errno
// set) when a write fails.
inline bool writeAll(int fd, QByteArrayView bytes)
{
    const char* next = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        next += written;
        left -= written;
    }
    return true;
}
