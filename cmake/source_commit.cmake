# The commit the sources were checked out at, as TORVEX_COMMIT: --version names it and the
# package's changelog and metainfo carry it, so a user can clone exactly what a package was made
# from. Outside a clone there is none to name ("unknown"). Configuring again whenever HEAD or its
# branch moves keeps it true after a commit without a fresh configure.
set(TORVEX_COMMIT unknown)
find_program(TORVEX_GIT git)
if(TORVEX_GIT)
    execute_process(COMMAND ${TORVEX_GIT} rev-parse HEAD --symbolic-full-name HEAD
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE revision RESULT_VARIABLE failed ERROR_QUIET
        OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT failed)
        string(REPLACE "\n" ";" revision "${revision}")
        list(GET revision 0 TORVEX_COMMIT)
        list(GET revision 1 branch)
        foreach(ref HEAD ${branch} packed-refs)
            execute_process(COMMAND ${TORVEX_GIT} rev-parse --path-format=absolute --git-path ${ref}
                WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                OUTPUT_VARIABLE file OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
            if(EXISTS "${file}")
                set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY
                    CMAKE_CONFIGURE_DEPENDS "${file}")
            endif()
        endforeach()
    endif()
endif()

# What the programs' --version says, one header for all of them.
set(TORVEX_VERSION_TEXT "${PROJECT_VERSION} (commit ${TORVEX_COMMIT})")
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${PROJECT_BINARY_DIR}/generated/torvex_version.h
    @ONLY)
