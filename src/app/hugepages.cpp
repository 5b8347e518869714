#include "app/hugepages.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

void restartWithHugePages(char** argv)
{
    constexpr const char* tunable = "glibc.malloc.hugetlb";
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    if (tunables && std::strstr(tunables, tunable))
        return;
    std::string value = std::string(tunable) + "=1";
    if (tunables && *tunables)
        value = std::string(tunables) + ':' + value;
    if (setenv("GLIBC_TUNABLES", value.c_str(), 1) == 0)
        execv("/proc/self/exe", argv);
}
