# Configures the sources as a package build without tests and without the simulated receiver,
# and checks that it asks for neither Qt Test nor Qt HttpServer and builds no test program.
# Called as a test with SOURCE_DIR, WORK_DIR and GENERATOR.

file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${WORK_DIR}" -G "${GENERATOR}"
        -DBUILD_TESTING=OFF -DTAVREL_BUILD_BOXSIM=OFF
    RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "configuring without tests and simulated receiver failed: ${errors}")
endif()

set(failures)
file(READ "${WORK_DIR}/CMakeCache.txt" cache)
foreach(module Qt6Test Qt6HttpServer)
    if(cache MATCHES "${module}_DIR:PATH=[^\n]*${module}")
        list(APPEND failures "looked for ${module}")
    endif()
endforeach()
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${WORK_DIR}" --target help
    OUTPUT_VARIABLE targets RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT targets MATCHES "tavrel-lite")
    list(APPEND failures "no target list, or no tavrel-lite in it")
endif()
foreach(unwanted tst_ bench_ boxsim)
    if(targets MATCHES "${unwanted}")
        list(APPEND failures "builds ${unwanted}*")
    endif()
endforeach()
file(REMOVE_RECURSE "${WORK_DIR}")
if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "The package build is not lean:\n  ${text}")
endif()
