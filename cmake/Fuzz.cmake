# QUORVANE_FUZZ=ON (with clang) builds the libFuzzer targets of tests/fuzz: every object with
# coverage instrumentation, AddressSanitizer and UndefinedBehaviorSanitizer.
option(QUORVANE_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(QUORVANE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "QUORVANE_FUZZ needs clang: configure with CXX=clang++")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                        -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
