# Tests of Windows binaries run under Wine in one private prefix per build
# folder, with one wineserver kept alive from the first test to the last.
set(PELORIN_WINEPREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(PELORIN_WINEARCH win64)
else()
    set(PELORIN_WINEARCH win32)
endif()
set(PELORIN_WINE_ENV
    WINEPREFIX=${PELORIN_WINEPREFIX}
    WINEARCH=${PELORIN_WINEARCH}
    WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml=
    PELORIN_SOURCE_DIR=${PROJECT_SOURCE_DIR}
    PELORIN_BINARY_DIR=${CMAKE_BINARY_DIR}
    PELORIN_WINE_RUN=${PROJECT_SOURCE_DIR}/scripts/wine-run)

add_test(NAME wine.prefix.up COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix up ${PELORIN_WINEPREFIX})
add_test(NAME wine.prefix.down COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix down ${PELORIN_WINEPREFIX})
set_tests_properties(wine.prefix.up PROPERTIES FIXTURES_SETUP wine TIMEOUT 300
    ENVIRONMENT WINEARCH=${PELORIN_WINEARCH})
set_tests_properties(wine.prefix.down PROPERTIES FIXTURES_CLEANUP wine)

# add_wine_test(NAME <name> COMMAND <target-or-program> [args...]
#               [FIXTURES <fixture>...] [ENVIRONMENT <VAR=value>...])
# A target given as COMMAND runs under Wine; a script runs natively with the
# Wine environment set, and reaches Wine through $PELORIN_WINE_RUN.
function(add_wine_test)
    cmake_parse_arguments(T "" "NAME" "COMMAND;FIXTURES;ENVIRONMENT" ${ARGN})
    add_test(NAME ${T_NAME} COMMAND ${T_COMMAND})
    set_tests_properties(${T_NAME} PROPERTIES
        FIXTURES_REQUIRED "wine;${T_FIXTURES}"
        ENVIRONMENT "${PELORIN_WINE_ENV};${T_ENVIRONMENT}"
        # Tests share one prefix and its registry and certificate stores.
        RESOURCE_LOCK wine-prefix)
endfunction()
