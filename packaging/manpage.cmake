# A manual page from a program's --help: help2man reads the text, and the headings of
# --help ("Commands:", "Exit status:") become sections of their own.
#
# cmake -DHELP2MAN=help2man -DGZIP=gzip -DPROGRAM=built/program -DH2M_DIR=packaging
#       -DPAGE=out/program.1 -P manpage.cmake     (writes PAGE and PAGE.gz)
#
# H2M_DIR holds what --help has no place for: program.h2m and fileformats.h2m.

cmake_minimum_required(VERSION 3.25)
set(arguments --no-info --section=1 --output=${PAGE}.raw)
cmake_path(GET PAGE STEM name)
list(APPEND arguments --include=${H2M_DIR}/${name}.h2m --include=${H2M_DIR}/fileformats.h2m)
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                        ${HELP2MAN} ${arguments} ${PROGRAM}
                RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "help2man ${PROGRAM}: ${err}")
endif()
file(READ ${PAGE}.raw page)
file(REMOVE ${PAGE}.raw)

string(REGEX MATCHALL "\n\\.SS \"[A-Z][a-z ]+:\"\n" headings "${page}")
foreach(heading IN LISTS headings)
    string(REGEX REPLACE "\n\\.SS \"(.*):\"\n" "\\1" title "${heading}")
    string(TOUPPER "${title}" title)
    string(REPLACE "${heading}" "\n.SH \"${title}\"\n" page "${page}")
endforeach()

# Under COMMANDS each usage line is the tag of its one-line summary, the name in bold.
string(REGEX MATCH "\n\\.SH \"COMMANDS\"\n.*\n\\.SH " commands "${page}")
if(commands)
    string(REGEX REPLACE "\n\\.IP\n([a-z][a-z0-9-]*)([^\n]*)\n\\.IP\n" "\n.TP\n\\\\fB\\1\\\\fR\\2\n"
                         tagged "${commands}")
    string(REPLACE "${commands}" "${tagged}" page "${page}")
endif()

# Usage lines and option values read best unjustified and unbroken.
string(REGEX REPLACE "(\n\\.TH [^\n]*\n)" "\\1.ad l\n.nh\n" page "${page}")

# Examples are command lines: one a line, as written.
string(REGEX REPLACE "(\n\\.SH EXAMPLES\n\\.IP\n)([^.][^\n]*(\n[^.][^\n]*)*\n)"
                     "\\1.nf\n\\2.fi\n" page "${page}")

file(WRITE ${PAGE} "${page}")
execute_process(COMMAND ${GZIP} -9nc ${PAGE} OUTPUT_FILE ${PAGE}.gz RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${PAGE}: ${status}")
endif()
