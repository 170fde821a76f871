# Our own targets compile with a strict set of warnings. QUORVANE_WERROR makes them errors: on
# in our development and CI builds (tools/test.sh), off by default so that a packager's compiler
# and build type never fail on a warning. Qt, Qwt and libzip headers are system includes, so
# their warnings stay out of it.
option(QUORVANE_WERROR "Treat compiler warnings as errors in our own targets" OFF)

function(quorvane_target_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
        -Wimplicit-fallthrough -Wcast-align)
    if(QUORVANE_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
