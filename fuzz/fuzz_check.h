#pragma once
// A broken promise ends the run, so libFuzzer keeps the input that broke it.

#include <cstdlib>

namespace plorix::fuzz {

inline void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace plorix::fuzz
