# The Debian package holds what a desktop needs, names the Qt libraries it runs on, and
# its programs start from where dpkg puts them.
#
# cmake -DBUILD_DIR=... -DSCRATCH=... -DGUI=built/tessavox -DBATCH=built/tessavox-batch
#       [-DLINTIAN=lintian] [-DAPPSTREAMCLI=appstreamcli] -P packagecheck.cmake

cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})

function(run)
    execute_process(COMMAND ${ARGV} RESULT_VARIABLE status OUTPUT_VARIABLE out
                    ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${ARGV} failed (${status}):\n${out}${err}")
    endif()
    set(out "${out}" PARENT_SCOPE)
endfunction()

run(cpack -G DEB -B ${SCRATCH} --config ${BUILD_DIR}/CPackConfig.cmake)
file(GLOB deb ${SCRATCH}/tessavox_*.deb)
list(LENGTH deb count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one tessavox_*.deb, found: ${deb}")
endif()

run(dpkg-deb --field ${deb} Package Depends Description)
foreach(field IN ITEMS "Package: tessavox" "Depends: .*libqt6widgets6" "Depends: .*libqt6svg6"
                       "Depends: .*libc6" "Depends: .*libsndfile1" "Depends: .*libsoxr0"
                       "Description: vowel charts")
    if(NOT out MATCHES "${field}")
        message(FATAL_ERROR "control lacks ${field}:\n${out}")
    endif()
endforeach()

set(root ${SCRATCH}/root)
run(dpkg-deb --extract ${deb} ${root})
file(GLOB metainfo RELATIVE ${root} ${root}/usr/share/metainfo/*.metainfo.xml)
set(expected
    usr/bin/tessavox
    usr/bin/tessavox-batch
    usr/share/applications/tessavox.desktop
    usr/share/icons/hicolor/scalable/apps/tessavox.svg
    usr/share/icons/hicolor/48x48/apps/tessavox.png
    usr/share/tessavox/examples/peterson-barney-men.txt
    usr/share/man/man1/tessavox.1.gz
    usr/share/man/man1/tessavox-batch.1.gz
    usr/share/bash-completion/completions/tessavox-batch
    usr/share/zsh/vendor-completions/_tessavox-batch
    usr/share/doc/tessavox/copyright
    ${metainfo})
foreach(file IN LISTS expected)
    if(NOT EXISTS ${root}/${file})
        message(FATAL_ERROR "not in the package: ${file}")
    endif()
endforeach()
# A software centre shows the newest release first; it must be this version.
file(READ ${root}/${metainfo} xml)
string(REGEX MATCH "<release version=\"([^\"]*)\"" release "${xml}")
set(release "${CMAKE_MATCH_1}")
run(dpkg-deb --field ${deb} Version)
if(NOT "${release}\n" STREQUAL out)
    message(FATAL_ERROR "newest release in ${metainfo} is \"${release}\", package is ${out}")
endif()

# The metadata, the desktop entry it launches and the icon, as a software centre reads them.
if(APPSTREAMCLI)
    run(${APPSTREAMCLI} validate-tree --no-net ${root})
endif()

# A desktop cache built on the packaging machine would hide other programs' entries.
if(EXISTS ${root}/usr/share/applications/mimeinfo.cache)
    message(FATAL_ERROR "the package carries a mimeinfo.cache")
endif()

# The packaged programs answer as the built ones do.
foreach(program built IN ZIP_LISTS "tessavox;tessavox-batch" "${GUI};${BATCH}")
    run(${root}/usr/bin/${program} --help)
    set(packaged "${out}")
    run(${built} --help)
    if(NOT packaged STREQUAL out OR NOT out MATCHES "Usage: ${program}")
        message(FATAL_ERROR "packaged ${program} --help differs:\n${packaged}")
    endif()
endforeach()

if(LINTIAN)
    execute_process(COMMAND ${LINTIAN} --fail-on error ${deb}
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "lintian:\n${out}")
    endif()
    message(STATUS "lintian:\n${out}")
else()
    message(STATUS "lintian not found; package not linted")
endif()

file(REMOVE_RECURSE ${SCRATCH})
