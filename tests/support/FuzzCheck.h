// SPDX-License-Identifier: MIT
#pragma once
// The one check of the fuzz targets: a broken invariant aborts with its name, which libFuzzer
// and the corpus replay report as a crash with the input that caused it.

#include <cstdio>
#include <cstdlib>

namespace quillmark::support {

inline void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

}  // namespace quillmark::support
