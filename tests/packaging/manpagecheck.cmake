# A manual page names every command, option and example command that the program's --help
# names, has the sections a reader looks for, and renders without warnings.
#
# cmake -DPROGRAM=built/program -DPAGE=program.1 [-DMAN=man] -P manpagecheck.cmake

cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${PROGRAM} --help RESULT_VARIABLE status OUTPUT_VARIABLE help)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help failed: ${status}")
endif()
file(READ ${PAGE} page)
string(REPLACE "\\-" "-" page "${page}")
cmake_path(GET PROGRAM FILENAME name)

# Options as --help spells them (--plot, -o); commands are the first word of each usage
# line under "Commands:", and each example must run one of them.
string(REGEX MATCHALL "[ [|,](--?[a-z][a-z0-9-]*)" options "${help}")
string(REGEX REPLACE "[ [|,]" "" options "${options}")
set(commands)
set(section "")
string(REPLACE "\n" ";" lines "${help}")
foreach(line IN LISTS lines)
    if(line MATCHES "^([A-Z][a-z ]+):$")
        set(section "${CMAKE_MATCH_1}")
    elseif(section STREQUAL "Commands" AND line MATCHES "^  ([a-z][a-z0-9-]*)")
        list(APPEND commands ${CMAKE_MATCH_1})
    elseif(section STREQUAL "Examples" AND line MATCHES "^  ${name} ([a-z][a-z0-9-]*)")
        list(APPEND examples ${CMAKE_MATCH_1})
    endif()
endforeach()
list(REMOVE_DUPLICATES options)
if(NOT options)
    message(FATAL_ERROR "no options found in --help:\n${help}")
endif()
foreach(command IN LISTS examples)
    if(NOT command IN_LIST commands)
        message(FATAL_ERROR "an example runs \"${command}\", which is not a command")
    endif()
endforeach()

foreach(word IN LISTS options commands)
    string(REGEX REPLACE "([.+*?^$|()\\[\\]])" "\\\\\\1" quoted "${word}")
    if(NOT page MATCHES "(^|[^a-z0-9-])${quoted}([^a-z0-9-]|$)")
        message(FATAL_ERROR "${PAGE} does not name ${word}")
    endif()
endforeach()
foreach(heading IN ITEMS NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" EXAMPLES
                         "FILE FORMATS" "SEE ALSO")
    if(NOT page MATCHES "\n\\.SH \"?${heading}\"?\n")
        message(FATAL_ERROR "${PAGE} lacks the section ${heading}")
    endif()
endforeach()

if(MAN)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env MANWIDTH=80 LC_ALL=C.UTF-8
                            ${MAN} --warnings -E UTF-8 -l ${PAGE}
                    RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE warnings)
    if(NOT status EQUAL 0 OR warnings OR NOT text MATCHES "EXIT STATUS")
        message(FATAL_ERROR "man -l ${PAGE}: ${status}\n${warnings}")
    endif()
endif()
