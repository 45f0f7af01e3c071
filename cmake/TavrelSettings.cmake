# Shared compile settings of every target of the project, and the helper that registers a test.

option(TAVREL_WERROR "Treat compiler warnings as errors" OFF)
option(TAVREL_SANITIZE "Build with address and undefined-behaviour sanitizers" OFF)
option(TAVREL_FUZZ "Build the libFuzzer targets (clang only)" OFF)

# The compile settings every target links; named so that nobody takes it for the settings store.
add_library(tavrel_build_flags INTERFACE)
# The earlier name, for branches written before the rename; new code names tavrel_build_flags.
add_library(tavrel_settings ALIAS tavrel_build_flags)
target_compile_features(tavrel_build_flags INTERFACE cxx_std_20)
target_compile_options(tavrel_build_flags INTERFACE -Wall -Wextra -pedantic)
if(TAVREL_WERROR)
    target_compile_options(tavrel_build_flags INTERFACE -Werror)
endif()
target_compile_definitions(tavrel_build_flags INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_USE_QSTRINGBUILDER
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_FOREACH)

if(TAVREL_SANITIZE)
    set(_tavrel_san -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_compile_options(tavrel_build_flags INTERFACE ${_tavrel_san})
    target_link_options(tavrel_build_flags INTERFACE ${_tavrel_san})
endif()

# tavrel_add_test(<name> SOURCES <files...> [LIBS <targets...>] [GUI])
# One QtTest executable per class or flow; registered with CTest under its own name.
function(tavrel_add_test name)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE tavrel_build_flags Qt6::Test ${ARG_LIBS})
    target_compile_definitions(${name} PRIVATE
        TAVREL_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
    add_test(NAME ${name} COMMAND ${name})
    set(_env "QT_QPA_PLATFORM=offscreen")
    if(TAVREL_SANITIZE)
        list(APPEND _env
            "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1"
            "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
            "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${_env}" TIMEOUT 120)
endfunction()

# The fuzz build: everything is instrumented for the fuzzer's coverage and checked by the
# address and undefined-behaviour sanitizers; only the fuzz programs link the fuzzer's main.
if(TAVREL_FUZZ)
    set(_tavrel_fuzz -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    target_compile_options(tavrel_build_flags INTERFACE ${_tavrel_fuzz})
    target_link_options(tavrel_build_flags INTERFACE ${_tavrel_fuzz})
endif()
