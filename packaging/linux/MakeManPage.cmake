# Makes a program's manual page from its own --help with help2man, so that the page and --help
# cannot drift, and compresses it as Debian keeps manual pages.
# Usage: cmake -DHELP2MAN=help2man -DPROGRAM=path -DINCLUDE=name.h2m -DSOURCE="Tolvane 1.0" -DPAGE=name.1
#              [-DVERSION_STRING=1.0] [-DSUBCOMMAND=pool] -P MakeManPage.cmake
# VERSION_STRING stands in for a program without --version. SUBCOMMAND adds a section with the
# text of "PROGRAM SUBCOMMAND --help".
set(include "${INCLUDE}")
if(SUBCOMMAND)
  execute_process(COMMAND "${PROGRAM}" ${SUBCOMMAND} --help OUTPUT_VARIABLE help RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${PROGRAM} ${SUBCOMMAND} --help failed: ${failed}")
  endif()
  # Verbatim in roff: backslashes escaped, and no line read as a request.
  string(REPLACE "\\" "\\e" help "${help}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
  string(TOUPPER "${SUBCOMMAND} commands" section)
  file(READ "${INCLUDE}" text)
  set(include "${PAGE}.h2m")
  file(WRITE "${include}" "${text}\n[${section}]\n.nf\n${help}.fi\n")
endif()

set(options --no-info --section=1 "--source=${SOURCE}" "--include=${include}" "--output=${PAGE}")
if(VERSION_STRING)
  list(APPEND options "--version-string=${VERSION_STRING}")
endif()
execute_process(COMMAND "${HELP2MAN}" ${options} "${PROGRAM}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "help2man could not make ${PAGE} from ${PROGRAM}")
endif()
# help2man fills an indented paragraph; the command lines of a usage block stay one a line.
get_filename_component(name "${PROGRAM}" NAME)
string(REPLACE "-" "\\\\-" name "${name}")
file(READ "${PAGE}" page)
string(REGEX REPLACE "\n(${name} )" "\n.br\n\\1" page "${page}")
string(REGEX REPLACE "\n(\\.[A-Za-z]+[^\n]*)\n\\.br\n" "\n\\1\n" page "${page}")
file(WRITE "${PAGE}" "${page}")

execute_process(COMMAND gzip -9nf "${PAGE}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not compress ${PAGE}")
endif()
