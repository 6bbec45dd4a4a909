#include "platform/linux/user_login.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace plorix::platform {

std::string LoginUser::loginName() {
    // The account of the real user id: getlogin() needs a controlling
    // terminal, which a program started from the desktop's menu lacks.
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_name != nullptr && *found->pw_name != '\0')
        return found->pw_name;
    for (const char* name : {"LOGNAME", "USER"})
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0') return value;
    return {};
}

}  // namespace plorix::platform
