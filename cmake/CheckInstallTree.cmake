# Installs the build into a fresh prefix and checks the tree a packager ships: the programs,
# the menu entry, the software-centre description, the icon in every size and the manual pages.
# Called as a test with BUILD_DIR, PREFIX, APP_ID, DESKTOP_FILE_VALIDATE and APPSTREAMCLI.

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
    RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${errors}")
endif()

set(failures)
foreach(program tavrel-lite tavrel-cli tavrel-boxsim)
    execute_process(COMMAND test -x "${PREFIX}/bin/${program}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        list(APPEND failures "bin/${program} missing or not executable")
    endif()
endforeach()

set(expected
    "share/applications/${APP_ID}.desktop"
    "share/metainfo/${APP_ID}.metainfo.xml"
    "share/tavrel-lite/screenshots/bouquet-list.png"
    "share/icons/hicolor/scalable/apps/${APP_ID}.svg"
    "share/man/man1/tavrel-cli.1"
    "share/man/man1/tavrel-boxsim.1")
foreach(file IN LISTS expected)
    if(NOT EXISTS "${PREFIX}/${file}")
        list(APPEND failures "${file} missing")
    endif()
endforeach()

# A bitmap must be as large as the folder it sits in says: width and height open the PNG header.
foreach(size 16 22 24 32 48 64 128 256)
    set(png "${PREFIX}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
    if(NOT EXISTS "${png}")
        list(APPEND failures "${size}x${size} icon missing")
        continue()
    endif()
    file(READ "${png}" header OFFSET 16 LIMIT 8 HEX)
    math(EXPR expected_hex "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${expected_hex}" 2 -1 digits)
    string(LENGTH "${digits}" length)
    math(EXPR pad "8 - ${length}")
    string(REPEAT "0" ${pad} zeros)
    set(dimension "${zeros}${digits}")
    if(NOT header STREQUAL "${dimension}${dimension}")
        list(APPEND failures "${size}x${size} icon has the header ${header}")
    endif()
endforeach()

# Texts filled in at configure time must not reach the package unfilled.
foreach(file "share/metainfo/${APP_ID}.metainfo.xml" "share/man/man1/tavrel-cli.1"
        "share/man/man1/tavrel-boxsim.1")
    if(EXISTS "${PREFIX}/${file}")
        file(READ "${PREFIX}/${file}" text)
        if(text MATCHES "@[A-Z_]+@")
            list(APPEND failures "${file} holds the placeholder ${CMAKE_MATCH_0}")
        endif()
    endif()
endforeach()

execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${PREFIX}/share/applications/${APP_ID}.desktop"
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0 OR out MATCHES "error")
    list(APPEND failures "desktop-file-validate: ${out}")
endif()
execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net --no-color
        "${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml"
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
    list(APPEND failures "appstreamcli validate: ${out}")
endif()

# The installed programs run from the prefix alone. --help leaves through exit(), which a
# sanitizer build would count as leaking the parser.
execute_process(COMMAND "${CMAKE_COMMAND}" -E env ASAN_OPTIONS=detect_leaks=0
        "${PREFIX}/bin/tavrel-cli" --help
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0 OR NOT out MATCHES "tavrel-cli")
    list(APPEND failures "installed tavrel-cli --help failed: ${out}")
endif()

if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "The installed tree is not complete:\n  ${text}")
endif()
file(GLOB_RECURSE tree RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT tree)
list(JOIN tree "\n  " text)
message(STATUS "Installed tree:\n  ${text}")
