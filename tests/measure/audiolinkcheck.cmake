# The programs start without the audio libraries: no NEEDED entry of theirs names libsndfile,
# libsoxr or a codec library they bring along. Measuring opens them when it needs them.
#
# cmake -DPROGRAMS="path;path" -P audiolinkcheck.cmake

cmake_minimum_required(VERSION 3.25)
foreach(program IN LISTS PROGRAMS)
    execute_process(COMMAND readelf --dynamic ${program} RESULT_VARIABLE status
                    OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*" needed "${out}")
    # Every program needs the C library: without it the listing was not read at all.
    if(NOT status EQUAL 0 OR NOT needed MATCHES "libc\\.so")
        message(FATAL_ERROR "cannot read the dynamic section of ${program}:\n${out}${err}")
    endif()
    foreach(entry IN LISTS needed)
        if(entry MATCHES "sndfile|soxr|FLAC|vorbis|opus|ogg|mpg123|mp3lame")
            message(FATAL_ERROR "${program} links an audio library at start-up: ${entry}")
        endif()
    endforeach()
endforeach()
