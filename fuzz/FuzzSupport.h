#pragma once

#include "base/TextEncoding.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace zdawnik::fuzz {

// Stops the run on a broken promise of the code under test. libFuzzer takes the abort for a crash
// and keeps the input that caused it.
inline void Require(bool condition, const char* promise)
{
    if (condition)
        return;
    std::fprintf(stderr, "fuzz: broken promise: %s\n", promise);
    std::abort();
}

inline bool IsValidUtf8(std::string_view text)
{
    Utf8Validator validator;
    validator.feed(text);
    return validator.valid();
}

} // namespace zdawnik::fuzz
