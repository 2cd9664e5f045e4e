# SPDX-License-Identifier: MIT
# The version lives in CMakeLists.txt's project(); the records that name a release beside it
# must name this one: the newest release history entry, the newest AppStream release and the
# release file names the README gives (the packages for Debian 12 and 13, the page, the .exe).
#   cmake -DSOURCE_DIR=<project root> -DVERSION=<project version> -P check-version-records.cmake

cmake_minimum_required(VERSION 3.25)

foreach(required SOURCE_DIR VERSION)
    if(NOT ${required})
        message(FATAL_ERROR "${required} not given")
    endif()
endforeach()
string(REPLACE "." "\\." version_pattern "${VERSION}")

set(failures "")

file(STRINGS "${SOURCE_DIR}/packaging/changelog" first LIMIT_COUNT 1)
if(NOT first MATCHES "^quillmark \\(${version_pattern}\\) ")
    string(APPEND failures "packaging/changelog opens with \"${first}\", not the entry for ${VERSION}\n")
endif()

file(STRINGS "${SOURCE_DIR}/packaging/org.quillmark.Quillmark.metainfo.xml" releases
    REGEX "<release " LIMIT_COUNT 1)
if(NOT releases MATCHES "version=\"${version_pattern}\"")
    string(APPEND failures "the metainfo's newest release is \"${releases}\", not ${VERSION}\n")
endif()

file(READ "${SOURCE_DIR}/README.md" readme)
foreach(file "quillmark_${VERSION}-1~deb12_amd64.deb" "quillmark_${VERSION}-1~deb13_amd64.deb"
        "quillmark-${VERSION}.html" "quillmark-decode-${VERSION}.exe")
    string(FIND "${readme}" "${file}" at)
    if(at EQUAL -1)
        string(APPEND failures "README.md does not name ${file}\n")
    endif()
endforeach()
string(REGEX MATCHALL "quillmark(-decode)?[_-][0-9]+\\.[0-9]+\\.[0-9]+" named "${readme}")
list(TRANSFORM named REPLACE "^.*[_-]" "")
list(REMOVE_DUPLICATES named)
list(REMOVE_ITEM named "${VERSION}")
if(named)
    string(APPEND failures "README.md names other versions: ${named}\n")
endif()

if(failures)
    message(FATAL_ERROR "Version records disagree with ${VERSION}:\n${failures}")
endif()
message(STATUS "Every version record names ${VERSION}")
