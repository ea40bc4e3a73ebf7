# A staged install (DESTDIR) puts both programs, the desktop entry and the icons where a
# desktop finds them, and the entry hands files to the running program.
#
# cmake -DBUILD_DIR=... -DSCRATCH=... [-DVALIDATE=desktop-file-validate] -P installcheck.cmake

cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${SCRATCH})
set(prefix /opt/tessavox-check)
set(root ${SCRATCH}${prefix})

set(ENV{DESTDIR} ${SCRATCH})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "install failed:\n${out}")
endif()

set(expected
    bin/tessavox
    bin/tessavox-batch
    share/applications/tessavox.desktop
    share/icons/hicolor/scalable/apps/tessavox.svg
    share/icons/hicolor/48x48/apps/tessavox.png
    share/icons/hicolor/128x128/apps/tessavox.png
    share/tessavox/examples/peterson-barney-men.txt)
foreach(file IN LISTS expected)
    if(NOT EXISTS ${root}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
foreach(program IN ITEMS tessavox tessavox-batch)
    file(GET_RUNTIME_DEPENDENCIES EXECUTABLES ${root}/bin/${program}
         UNRESOLVED_DEPENDENCIES_VAR unresolved)
    if(unresolved)
        message(FATAL_ERROR "${program} needs libraries that are not there: ${unresolved}")
    endif()
endforeach()

# The desktop reads these lines; each one is what makes "Open with Tessavox" work.
file(STRINGS ${root}/share/applications/tessavox.desktop entry)
foreach(line IN ITEMS "Exec=tessavox --shell-open %F" "Icon=tessavox" "MimeType=text/plain;"
                      "Type=Application")
    if(NOT line IN_LIST entry)
        message(FATAL_ERROR "desktop entry lacks \"${line}\"")
    endif()
endforeach()

# Sizes in the file names must be the sizes of the pictures, or the desktop scales them.
foreach(size IN ITEMS 48 128)
    file(READ ${root}/share/icons/hicolor/${size}x${size}/apps/tessavox.png header
         LIMIT 24 HEX)
    string(SUBSTRING "${header}" 0 16 magic)
    string(SUBSTRING "${header}" 32 16 dimensions)
    string(SUBSTRING "${dimensions}" 0 8 w)
    string(SUBSTRING "${dimensions}" 8 8 h)
    math(EXPR width "0x${w}")
    math(EXPR height "0x${h}")
    if(NOT magic STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
        message(FATAL_ERROR "${size}x${size} icon is ${width}x${height} (${magic})")
    endif()
endforeach()

if(VALIDATE)
    execute_process(COMMAND ${VALIDATE} ${root}/share/applications/tessavox.desktop
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT status EQUAL 0 OR out MATCHES "(error|warning):")
        message(FATAL_ERROR "desktop-file-validate:\n${out}")
    endif()
else()
    message(STATUS "desktop-file-validate not found; entry checked by its lines only")
endif()

file(REMOVE_RECURSE ${SCRATCH})
