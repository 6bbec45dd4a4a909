#pragma once
// The one error that unwinds: a data-file failure the program cannot live
// with. The warning that explains it has already been shown when this is
// thrown; main catches it, shows what() as the final message ("Disk Error",
// "Invalid Key!" ...) and ends the program.

#include <stdexcept>
#include <string>

namespace plorix::data {

struct FatalError : std::runtime_error {
    explicit FatalError(const std::string& finalMessage) : std::runtime_error(finalMessage) {}
};

}  // namespace plorix::data
