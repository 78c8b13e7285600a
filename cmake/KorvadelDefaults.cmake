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

# A layer whose folder holds no source yet still yields a (empty) library, so the layers above
# it configure and link while it is being written.
macro(korvadel_placeholder_source var)
    if(NOT ${var})
        set(_placeholder ${CMAKE_CURRENT_BINARY_DIR}/empty_layer.cpp)
        if(NOT EXISTS ${_placeholder})
            file(WRITE ${_placeholder} "// intentionally empty\n")
        endif()
        set(${var} ${_placeholder})
    endif()
endmacro()
