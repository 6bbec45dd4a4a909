#pragma once
// Permission tests under root: the superuser passes every permission check,
// so such a test runs its body in a child process as the user "nobody".

#include <functional>
#include <filesystem>

namespace plorix::test {

// Runs `body` and returns its result: in this process for an ordinary user;
// for root in a forked child that has become "nobody" (the result is then the
// child's exit status, so keep it in 0..255). `readOnlyFolder`, when given, is
// made readable and enterable but not writable for everyone first.
int runUnprivileged(const std::function<int()>& body, const std::filesystem::path& readOnlyFolder = {});

}  // namespace plorix::test
