# cmake -DCONVERTER=<quarnel-manpage> -DSOURCE=<name version> -DOUTPUT=<page.1>
#       (-DPROGRAM=<program whose --help is the page> | -DINPUT=<page text>) -P Render.cmake
# Writes OUTPUT and OUTPUT.gz, the compressed copy that is installed.

# A sanitizer build's tool reports what Qt keeps until exit; that is no failure of the page.
set(ENV{ASAN_OPTIONS} "detect_leaks=0")
set(convert ${CONVERTER} 1 "${SOURCE}" "User Commands")
if(DEFINED PROGRAM)
    execute_process(COMMAND ${PROGRAM} --help COMMAND ${convert}
        OUTPUT_FILE ${OUTPUT} RESULTS_VARIABLE results)
else()
    execute_process(COMMAND ${convert} ${INPUT} OUTPUT_FILE ${OUTPUT} RESULTS_VARIABLE results)
endif()
foreach(result IN LISTS results)
    if(NOT result EQUAL 0)
        file(REMOVE ${OUTPUT})
        message(FATAL_ERROR "Making ${OUTPUT} failed: ${results}")
    endif()
endforeach()
# -n leaves the name and time out, so a rebuild gives the same bytes.
execute_process(COMMAND gzip -9nfk ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Compressing ${OUTPUT} failed")
endif()
