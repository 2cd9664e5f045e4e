# SPDX-License-Identifier: MIT
# Fails when product code outside platform/ names a Qt service that only the platform adapters
# may touch: message boxes, the clipboard, the settings store and the web engine go through
# the small interfaces in platform/, which the window tests replace with fakes.
#   cmake -DSOURCE_DIR=<project root> -P check-platform-seams.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "SOURCE_DIR not given")
endif()

set(services QMessageBox QClipboard QSettings QWebEngine)
set(patterns *.h *.hpp *.cpp *.cc *.mm *.qml *.js *.ui)

set(files)
foreach(pattern IN LISTS patterns)
    file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${pattern}")
    list(APPEND files ${found})
endforeach()
# platform/ is where the services belong; tests, benchmarks and build trees are not product.
list(FILTER files EXCLUDE REGEX "^(platform|tests|bench|build[^/]*|out|\\.[^/]*)/")
list(REMOVE_DUPLICATES files)
list(SORT files)

# The check is only worth something if it sees the windows.
foreach(expected ui/main/frmMain.cpp decoder/field_decoder.cpp)
    if(NOT expected IN_LIST files)
        message(FATAL_ERROR "the scan missed ${expected}: nothing checked")
    endif()
endforeach()

set(offences)
foreach(file IN LISTS files)
    # One list item per line: characters that CMake lists treat specially are blanked first.
    file(READ "${SOURCE_DIR}/${file}" content)
    string(REGEX REPLACE "[][;\\]" " " content "${content}")
    string(REPLACE "\n" ";" lines "${content}")
    set(number 0)
    foreach(line IN LISTS lines)
        math(EXPR number "${number} + 1")
        foreach(service IN LISTS services)
            string(FIND "${line}" "${service}" at)
            if(NOT at EQUAL -1)
                string(STRIP "${line}" shown)
                list(APPEND offences "${file}:${number}: ${shown}")
            endif()
        endforeach()
    endforeach()
endforeach()

list(LENGTH files scanned)
if(offences)
    list(JOIN offences "\n  " listed)
    message(FATAL_ERROR "Qt services named outside platform/ (use the interfaces in platform/):\n  ${listed}")
endif()
message(STATUS "${scanned} product files use the platform interfaces only")
