# The project's warnings, as a usage requirement of its own targets only: the core's lowest
# library carries them, so every target built on the core gets them, and nothing else does (the
# GoogleTest that the Windows tests build from source among them).
option(TOLVANE_WERROR "Treat warnings as errors" OFF)
add_library(tolvane_warnings INTERFACE)
target_compile_options(tolvane_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                                  $<$<BOOL:${TOLVANE_WERROR}>:-Werror>)
