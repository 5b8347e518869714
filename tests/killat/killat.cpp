// Preloaded into a program under test (LD_PRELOAD), this library kills the program with SIGKILL
// at its Nth step that changes a file under a folder: every write, flush, truncation, link,
// rename and removal counts. So a test can stop a program at each step of its work in turn and
// look at what it leaves, without a hook in the program itself.
//
//   ZELK_KILL_IN=FOLDER   the folder whose files count
//   ZELK_KILL_AT=N        the step to die at (1 is the first); a run with fewer steps ends as
//                         usual
//
// Linked into a test program, it makes such a step fail with EIO instead (see failat.h).
#include "failat.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <utility>

namespace {

std::string failFolder;
long failAt = 0;
long failSteps = 0;
std::string flushFolder;
long flushes = 0;

const char* folder()
{
    static const char* value = std::getenv("ZELK_KILL_IN");
    return value ? value : failAt > 0 ? failFolder.c_str() : nullptr;
}

bool under(const char* path, const char* prefix = folder())
{
    return prefix && path && std::strncmp(path, prefix, std::strlen(prefix)) == 0;
}

bool fdUnder(int fd, const char* prefix = folder())
{
    if (!prefix)
        return false;
    char path[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = ::readlink(link.c_str(), path, sizeof path - 1);
    if (length <= 0)
        return false;
    path[length] = '\0';
    return under(path, prefix);
}

void countFlush(int fd)
{
    if (!flushFolder.empty() && fdUnder(fd, flushFolder.c_str()))
        ++flushes;
}

// Counts a step that changes a file under the folder, and dies at the chosen one; true when it is
// to fail instead.
bool step(bool counts)
{
    static const long killAt =
        std::getenv("ZELK_KILL_AT") ? std::atol(std::getenv("ZELK_KILL_AT")) : 0;
    static std::atomic<long> steps{0};
    if (counts && killAt > 0 && ++steps == killAt)
        ::kill(::getpid(), SIGKILL);
    return counts && failAt > 0 && ++failSteps == failAt;
}

template <typename Result, typename Call> Result unlessFailed(bool fails, Call call)
{
    if (!fails)
        return call();
    errno = EIO;
    return -1;
}

template <typename Function> Function next(const char* name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

long zelk_fail_at(const char* folder, long step)
{
    failFolder = folder ? folder : "";
    failAt = step;
    return std::exchange(failSteps, 0);
}

long zelk_count_flushes(const char* folder)
{
    flushFolder = folder ? folder : "";
    return std::exchange(flushes, 0);
}

ssize_t write(int fd, const void* buffer, size_t count)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    const int saved = errno;
    const bool fails = step(fdUnder(fd));
    errno = saved;
    return unlessFailed<ssize_t>(fails, [&] { return real(fd, buffer, count); });
}

int fsync(int fd)
{
    static const auto real = next<int (*)(int)>("fsync");
    countFlush(fd);
    return unlessFailed<int>(step(fdUnder(fd)), [&] { return real(fd); });
}

int fdatasync(int fd)
{
    static const auto real = next<int (*)(int)>("fdatasync");
    countFlush(fd);
    return unlessFailed<int>(step(fdUnder(fd)), [&] { return real(fd); });
}

int ftruncate(int fd, off_t length)
{
    static const auto real = next<int (*)(int, off_t)>("ftruncate");
    return unlessFailed<int>(step(fdUnder(fd)), [&] { return real(fd, length); });
}

int rename(const char* from, const char* to)
{
    static const auto real = next<int (*)(const char*, const char*)>("rename");
    return unlessFailed<int>(step(under(from) || under(to)), [&] { return real(from, to); });
}

int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags)
{
    static const auto real = next<int (*)(int, const char*, int, const char*, int)>("linkat");
    return unlessFailed<int>(step(fdUnder(toFolder) || under(to)),
                             [&] { return real(fromFolder, from, toFolder, to, flags); });
}

int unlink(const char* path)
{
    static const auto real = next<int (*)(const char*)>("unlink");
    return unlessFailed<int>(step(under(path)), [&] { return real(path); });
}

int unlinkat(int folderFd, const char* path, int flags)
{
    static const auto real = next<int (*)(int, const char*, int)>("unlinkat");
    return unlessFailed<int>(step(fdUnder(folderFd) || under(path)),
                             [&] { return real(folderFd, path, flags); });
}

} // extern "C"
