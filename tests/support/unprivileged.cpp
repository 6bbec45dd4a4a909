#include "support/unprivileged.h"

#include <sys/wait.h>
#include <unistd.h>

namespace plorix::test {

int runUnprivileged(const std::function<int()>& body, const std::filesystem::path& readOnlyFolder) {
    namespace fs = std::filesystem;
    if (!readOnlyFolder.empty()) {
        fs::permissions(readOnlyFolder, fs::perms::owner_read | fs::perms::owner_exec |
                                            fs::perms::group_read | fs::perms::group_exec |
                                            fs::perms::others_read | fs::perms::others_exec);
    }
    if (geteuid() != 0) return body();
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(99);
        _exit(body());
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {}
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace plorix::test
