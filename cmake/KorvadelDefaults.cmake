# SPDX-License-Identifier: GPL-3.0-or-later
# Per-target compiler settings shared by every layer.
function(korvadel_target_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    # GCC 12 reports a false string-overlap warning inside std::string concatenation.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
    if(KORVADEL_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# Qt targets additionally refuse implicit conversions from 8-bit strings: every conversion
# between file bytes and QString goes through one place.
function(korvadel_qt_defaults target)
    korvadel_target_defaults(${target})
    target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII
                                                 QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
endfunction()
