# tarnu_add_test(<name> <sources>... [LIBS <libs>...] [LABELS <labels>...])
# One GoogleTest executable, one CTest test. In the Windows build the test runs
# under Wine in the build folder's own prefix, which the wine_prefix fixture
# creates once per run.
#
# tarnu_add_script_test(<name> <script> [RUN_SERIAL] [ARGS <args>...]
#                       [LABELS <labels>...])
# Windows build only: a shell script that starts Windows programs itself,
# under Wine in the same prefix and on the X screen the run was given.
# RUN_SERIAL: nothing else runs meanwhile, for a script whose program takes
# the keyboard focus or whose checks read the screen.
if(WIN32)
    set(TARNU_TEST_DATA_DIR "Z:${CMAKE_SOURCE_DIR}/tests/data")
    set(TARNU_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
    add_test(NAME wine.prefix
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix ${TARNU_WINEPREFIX})
    set_tests_properties(wine.prefix PROPERTIES FIXTURES_SETUP wine LABELS wine)
else()
    set(TARNU_TEST_DATA_DIR "${CMAKE_SOURCE_DIR}/tests/data")
endif()

function(tarnu_add_test name)
    cmake_parse_arguments(T "" "" "LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE ${T_LIBS} tarnu_test_support gtest_main)
    # Both test builds share one CTest run, so each name carries its suite.
    if(WIN32)
        set(test wine.${name})
    else()
        set(test native.${name})
    endif()
    add_test(NAME ${test} COMMAND ${name})
    if(WIN32)
        set_tests_properties(${test} PROPERTIES
            LABELS "wine;${T_LABELS}"
            FIXTURES_REQUIRED wine
            ENVIRONMENT "WINEPREFIX=${TARNU_WINEPREFIX};WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
    else()
        set_tests_properties(${test} PROPERTIES LABELS "native;${T_LABELS}")
    endif()
endfunction()

function(tarnu_add_script_test name script)
    cmake_parse_arguments(T "RUN_SERIAL" "" "ARGS;LABELS" ${ARGN})
    set(test wine.${name})
    add_test(NAME ${test} COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/${script} ${T_ARGS})
    set_tests_properties(${test} PROPERTIES
        LABELS "wine;${T_LABELS}"
        FIXTURES_REQUIRED wine
        TIMEOUT 600
        ENVIRONMENT "WINEPREFIX=${TARNU_WINEPREFIX};WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
    if(T_RUN_SERIAL)
        set_tests_properties(${test} PROPERTIES RUN_SERIAL TRUE)
    endif()
endfunction()
