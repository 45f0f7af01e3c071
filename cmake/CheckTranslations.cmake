# Fails when a text of the program has no translation: lupdate brings a copy of every catalogue
# up to date with the sources, and no copy may hold an unfinished entry. Run by ctest.
#
# -DLUPDATE=<lupdate> -DPROJECT_IN=<lupdate project, .cmake> -DPROJECT_GENERATOR=<Qt's script
# that turns it into JSON> -DTS_FILES=<catalogues, separated by |> -DWORK_DIR=<scratch folder>

foreach(required LUPDATE PROJECT_IN PROJECT_GENERATOR TS_FILES WORK_DIR)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "CheckTranslations: ${required} is not set")
    endif()
endforeach()
if(NOT EXISTS "${PROJECT_IN}")
    message(FATAL_ERROR "CheckTranslations: ${PROJECT_IN} is missing; configure the build again")
endif()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
execute_process(
    COMMAND "${CMAKE_COMMAND}" "-DIN_FILE=${PROJECT_IN}" "-DOUT_FILE=${WORK_DIR}/project.json"
            -P "${PROJECT_GENERATOR}"
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "CheckTranslations: the lupdate project could not be written")
endif()

string(REPLACE "|" ";" catalogues "${TS_FILES}")
set(missing "")
foreach(catalogue IN LISTS catalogues)
    get_filename_component(name "${catalogue}" NAME)
    set(copy "${WORK_DIR}/${name}")
    file(COPY_FILE "${catalogue}" "${copy}")
    execute_process(
        COMMAND "${LUPDATE}" -project "${WORK_DIR}/project.json" -ts "${copy}" -no-obsolete -locations none
        RESULT_VARIABLE result OUTPUT_QUIET)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "CheckTranslations: lupdate failed on ${name}")
    endif()
    file(STRINGS "${copy}" lines)
    set(source "")
    foreach(line IN LISTS lines)
        if(line MATCHES "<source>(.*)</source>")
            set(source "${CMAKE_MATCH_1}")
        elseif(line MATCHES "<translation type=\"unfinished\"|<translation></translation>|<translation/>")
            string(APPEND missing "\n  ${name}: ${source}")
        endif()
    endforeach()
endforeach()
if(missing)
    message(FATAL_ERROR "Texts without a translation (run the update_translations target and "
                        "translate them):${missing}")
endif()
message(STATUS "Every text has its translation")
