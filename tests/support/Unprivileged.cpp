#include "tests/support/Unprivileged.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

bool runUnprivileged(const std::function<bool()>& body) {
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        // Root's supplementary groups go too, or group-readable files would stay readable.
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace testing_support
