# tarnu_add_test(<name> <sources>... [WINDOWS] [REGISTRY] [LIBS <libs>...]
#                [LABELS <labels>...])
# One GoogleTest executable, one CTest test. In the Windows builds the test
# runs under Wine in the build folder's own prefix, which the prefix fixture
# creates once per run. WINDOWS: the suite opens windows, and takes turns with
# every other such suite of either Windows build (there is one keyboard
# focus). REGISTRY: it writes the program's own registry keys, and takes turns
# with the others of its build that do.
#
# tarnu_add_locale_runs(<locale> <test targets>...)
# Windows build only: the suites again under another system locale (Wine takes
# its ANSI code page from it: ja_JP gives 932), in a prefix of their own.
#
# tarnu_add_script_test(<name> <script> [RUN_SERIAL] [ARGS <args>...]
#                       [LABELS <labels>...])
# Windows builds only: a shell script that starts Windows programs itself,
# under Wine in the same prefix and on the X screen the run was given.
# RUN_SERIAL: nothing else runs meanwhile, for a script whose program takes
# the keyboard focus or whose checks read the screen.
#
# All test builds share one CTest run, so each test's name starts with its
# build's suite, which is also its label: native, native32 (Linux -m32, under
# qemu-i386), wine (x86_64 Windows) or win32 (i686 Windows, under the 32-bit
# Wine of scripts/lab32).
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(TARNU_SUITE win32)
elseif(WIN32)
    set(TARNU_SUITE wine)
elseif(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(TARNU_SUITE native32)
else()
    set(TARNU_SUITE native)
endif()

# Scripts find the 32-bit lab's wine, wineserver and wineboot first on PATH.
function(tarnu_wine_environment test)
    if(TARNU_SUITE STREQUAL win32)
        set_tests_properties(${test} PROPERTIES ENVIRONMENT_MODIFICATION
            "PATH=path_list_prepend:${CMAKE_SOURCE_DIR}/scripts/lab32/bin")
    endif()
endfunction()

if(WIN32)
    set(TARNU_TEST_DATA_DIR "Z:${CMAKE_SOURCE_DIR}/tests/data")
    set(TARNU_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
    # Never the locale the machine happens to have: in the C locale Wine
    # mangles non-ASCII names. Western (code page 1252) unless a run says.
    set(TARNU_WINE_ENV
        "WINEPREFIX=${TARNU_WINEPREFIX};LC_ALL=en_US.UTF-8;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
    add_test(NAME ${TARNU_SUITE}.prefix
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix ${TARNU_WINEPREFIX})
    set_tests_properties(${TARNU_SUITE}.prefix PROPERTIES
        FIXTURES_SETUP ${TARNU_SUITE} LABELS ${TARNU_SUITE} TIMEOUT 600 ENVIRONMENT "${TARNU_WINE_ENV}")
    tarnu_wine_environment(${TARNU_SUITE}.prefix)
else()
    set(TARNU_TEST_DATA_DIR "${CMAKE_SOURCE_DIR}/tests/data")
endif()

function(tarnu_add_test name)
    cmake_parse_arguments(T "WINDOWS;REGISTRY" "" "LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE ${T_LIBS} tarnu_test_support gtest_main)
    set(test ${TARNU_SUITE}.${name})
    add_test(NAME ${test} COMMAND ${name})
    set_tests_properties(${test} PROPERTIES LABELS "${TARNU_SUITE};${T_LABELS}")
    if(WIN32)
        set_tests_properties(${test} PROPERTIES
            FIXTURES_REQUIRED ${TARNU_SUITE} ENVIRONMENT "${TARNU_WINE_ENV}")
        tarnu_wine_environment(${test})
    endif()
    if(T_WINDOWS)
        set_property(TEST ${test} APPEND PROPERTY RESOURCE_LOCK desktop)
    endif()
    if(T_REGISTRY)
        set_property(TEST ${test} APPEND PROPERTY RESOURCE_LOCK ${TARNU_SUITE}_registry)
    endif()
endfunction()

function(tarnu_add_locale_runs locale)
    set(prefix "${CMAKE_BINARY_DIR}/wineprefix-${locale}")
    set(env "WINEPREFIX=${prefix};LC_ALL=${locale}.UTF-8;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
    set(fixture ${TARNU_SUITE}_${locale})
    add_test(NAME ${TARNU_SUITE}.prefix.${locale}
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix ${prefix})
    set_tests_properties(${TARNU_SUITE}.prefix.${locale} PROPERTIES
        FIXTURES_SETUP ${fixture} LABELS ${TARNU_SUITE} TIMEOUT 600 ENVIRONMENT "${env}")
    tarnu_wine_environment(${TARNU_SUITE}.prefix.${locale})
    foreach(name ${ARGN})
        set(test ${TARNU_SUITE}.${name}.${locale})
        add_test(NAME ${test} COMMAND ${name})
        set_tests_properties(${test} PROPERTIES
            LABELS ${TARNU_SUITE} FIXTURES_REQUIRED ${fixture} ENVIRONMENT "${env}")
        tarnu_wine_environment(${test})
    endforeach()
endfunction()

function(tarnu_add_script_test name script)
    cmake_parse_arguments(T "RUN_SERIAL" "" "ARGS;LABELS" ${ARGN})
    set(test ${TARNU_SUITE}.${name})
    add_test(NAME ${test} COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/${script} ${T_ARGS})
    set_tests_properties(${test} PROPERTIES
        LABELS "${TARNU_SUITE};${T_LABELS}"
        FIXTURES_REQUIRED ${TARNU_SUITE}
        TIMEOUT 600
        ENVIRONMENT "${TARNU_WINE_ENV}")
    tarnu_wine_environment(${test})
    if(T_RUN_SERIAL)
        set_tests_properties(${test} PROPERTIES RUN_SERIAL TRUE)
    endif()
endfunction()
