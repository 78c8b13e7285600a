// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The message of the program's error that a call throws, for comparing with the exact text the
// user is shown.

#include "model/Error.h"

#include <string>

namespace korvadel {

inline constexpr const char* kNoError = "<no error>";

// The error's message, or kNoError when the call returns normally.
template <typename Call> std::string messageOf(Call&& call) {
    try {
        call();
    } catch (const Error& error) {
        return error.what();
    }
    return kNoError;
}

} // namespace korvadel
