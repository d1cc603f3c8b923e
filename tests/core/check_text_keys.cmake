# Fails when the program's sources use a text key that lang/text_keys.h does
# not list, so the shipped language files cannot silently miss it.
#   cmake -DSOURCE_DIR=<tree> -P check_text_keys.cmake
# A key is a string literal with one of the key prefixes, a bare "message" or
# "error", or any literal handed straight to LookupText.

cmake_minimum_required(VERSION 3.20)

file(READ "${SOURCE_DIR}/lang/text_keys.h" listing)
string(REGEX MATCHALL "\"[^\"]*\"" listed "${listing}")

set(prefixes "message|error|menu|button|tarnu|link|status|log|counter|please|decipher|password|font")
set(key_literal "\"((${prefixes})_[a-z0-9_]+|message|error)\"")
set(lookup_literal "LookupText\\(\"[^\"]*\"")

set(sources)
foreach(folder fs crypto fileops engine lang platform ui shell cli posix)
    file(GLOB_RECURSE found "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
    list(APPEND sources ${found})
endforeach()
list(FILTER sources EXCLUDE REGEX "/lang/text_keys\\.h$")

set(missing)
foreach(source ${sources})
    file(READ "${source}" text)
    string(REGEX MATCHALL "${key_literal}" keys "${text}")
    string(REGEX MATCHALL "${lookup_literal}" lookups "${text}")
    list(TRANSFORM lookups REPLACE "^LookupText\\(" "")
    foreach(key ${keys} ${lookups})
        if(NOT key IN_LIST listed)
            file(RELATIVE_PATH where "${SOURCE_DIR}" "${source}")
            list(APPEND missing "${key} (${where})")
        endif()
    endforeach()
endforeach()

list(LENGTH sources count)
if(count EQUAL 0)
    message(FATAL_ERROR "no sources found under ${SOURCE_DIR}")
endif()
if(missing)
    list(REMOVE_DUPLICATES missing)
    list(JOIN missing "\n  " lines)
    message(FATAL_ERROR "Text keys not listed in lang/text_keys.h:\n  ${lines}")
endif()
message(STATUS "${count} source files: every text key is listed")
