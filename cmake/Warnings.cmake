# Every target of ours compiles with warnings as errors; Qt, Qwt and libzip headers are
# system includes, so their warnings stay out of it.
function(quorvane_target_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
        -Wimplicit-fallthrough -Wcast-align -Werror)
endfunction()
