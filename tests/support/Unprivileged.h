#pragma once
// CI runs as root, which ignores file modes. A check that needs a folder the program may
// not write runs in a child process that has given up root.
#include <functional>

namespace testing_support {

// Runs body in a forked child as an unprivileged user (or as is, when not root) and returns
// its result; false when the child could not run.
bool runUnprivileged(const std::function<bool()>& body);

}  // namespace testing_support
