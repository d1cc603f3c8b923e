# Fails when a portable or POSIX folder includes a Windows header or the
# Windows layer, or when anything outside ui/ includes from ui/: the portable
# code must build and run its rules natively, and the layers point one way.
#   cmake -DSOURCE_DIR=<tree> -P check_includes.cmake

cmake_minimum_required(VERSION 3.20)

set(portable base crypto fileops engine lang posix)
set(windows_header "#[ \t]*include[ \t]*<(windows|win[a-z0-9_]*|sh[a-z]*|ole[a-z0-9]*|objbase|commctrl|commdlg|tchar|io|direct|process)\\.h>")
set(windows_layer "#[ \t]*include[ \t]*\"(platform|shell|ui|res)/[^\"]*\"")
set(ui_include "#[ \t]*include[ \t]*\"ui/[^\"]*\"")

set(count 0)
set(wrong)
foreach(folder base crypto fileops engine lang posix platform shell res ui)
    file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
    foreach(source ${sources})
        math(EXPR count "${count} + 1")
        file(READ "${source}" text)
        string(TOLOWER "${text}" lowered)
        set(found)
        if(folder IN_LIST portable)
            string(REGEX MATCHALL "${windows_header}" headers "${lowered}")
            string(REGEX MATCHALL "${windows_layer}" layers "${text}")
            list(APPEND found ${headers} ${layers})
        elseif(NOT folder STREQUAL ui)
            string(REGEX MATCHALL "${ui_include}" found "${text}")
        endif()
        file(RELATIVE_PATH where "${SOURCE_DIR}" "${source}")
        foreach(line ${found})
            string(REGEX REPLACE "^#[ \t]*include[ \t]*" "" line "${line}")
            list(APPEND wrong "${where}: ${line}")
        endforeach()
    endforeach()
endforeach()

if(count EQUAL 0)
    message(FATAL_ERROR "no sources found under ${SOURCE_DIR}")
endif()
if(wrong)
    list(JOIN wrong "\n  " lines)
    message(FATAL_ERROR "Includes against the layers:\n  ${lines}")
endif()
message(STATUS "${count} source files: the layers hold")
