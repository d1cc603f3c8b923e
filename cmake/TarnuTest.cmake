# tarnu_add_test(<name> <sources>... [LIBS <libs>...] [LABELS <labels>...])
# One GoogleTest executable, one CTest test. In the Windows build the test runs
# under Wine in the build folder's own prefix, which the wine_prefix fixture
# creates once per run.
#
# tarnu_add_locale_runs(<locale> <test targets>...)
# Windows build only: the suites again under another system locale (Wine takes
# its ANSI code page from it: ja_JP gives 932), in a prefix of their own.
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
    # Never the locale the machine happens to have: in the C locale Wine
    # mangles non-ASCII names. Western (code page 1252) unless a run says.
    set(TARNU_WINE_ENV "LC_ALL=en_US.UTF-8;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
    add_test(NAME wine.prefix
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix ${TARNU_WINEPREFIX})
    set_tests_properties(wine.prefix PROPERTIES FIXTURES_SETUP wine LABELS wine
                         ENVIRONMENT "${TARNU_WINE_ENV}")
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
            ENVIRONMENT "WINEPREFIX=${TARNU_WINEPREFIX};${TARNU_WINE_ENV}")
    else()
        set_tests_properties(${test} PROPERTIES LABELS "native;${T_LABELS}")
    endif()
endfunction()

function(tarnu_add_locale_runs locale)
    set(prefix "${CMAKE_BINARY_DIR}/wineprefix-${locale}")
    set(env "WINEPREFIX=${prefix};LC_ALL=${locale}.UTF-8;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
    add_test(NAME wine.prefix.${locale} COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix ${prefix})
    set_tests_properties(wine.prefix.${locale} PROPERTIES
        FIXTURES_SETUP wine_${locale} LABELS wine ENVIRONMENT "${env}")
    foreach(name ${ARGN})
        add_test(NAME wine.${name}.${locale} COMMAND ${name})
        set_tests_properties(wine.${name}.${locale} PROPERTIES
            LABELS wine FIXTURES_REQUIRED wine_${locale} ENVIRONMENT "${env}")
    endforeach()
endfunction()

function(tarnu_add_script_test name script)
    cmake_parse_arguments(T "RUN_SERIAL" "" "ARGS;LABELS" ${ARGN})
    set(test wine.${name})
    add_test(NAME ${test} COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/${script} ${T_ARGS})
    set_tests_properties(${test} PROPERTIES
        LABELS "wine;${T_LABELS}"
        FIXTURES_REQUIRED wine
        TIMEOUT 600
        ENVIRONMENT "WINEPREFIX=${TARNU_WINEPREFIX};${TARNU_WINE_ENV}")
    if(T_RUN_SERIAL)
        set_tests_properties(${test} PROPERTIES RUN_SERIAL TRUE)
    endif()
endfunction()
