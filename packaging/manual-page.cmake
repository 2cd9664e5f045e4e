# SPDX-License-Identifier: MIT
# Writes the scdoc source of a manual page from its template: @PROJECT_VERSION@ becomes the
# version, @QUILLMARK_FIELD_KEYS@ the JSON keys of the field catalogue's rows in report order
# ("*CallRegister*, *MainPM*, ... and *DigsDialed*"), so that the page lists what the program
# writes whatever fields the catalogue holds.
#   cmake -DTEMPLATE=<.scd.in> -DOUTPUT=<.scd> -DVERSION=<x.y.z> -DCATALOGUE=<field_catalogue.h>
#         -P manual-page.cmake
file(READ "${CATALOGUE}" catalogue)
string(REGEX MATCHALL "{Field::[A-Za-z0-9_]+, *\"[A-Za-z0-9_]+\"" rows "${catalogue}")
if(NOT rows)
    message(FATAL_ERROR "no rows found in ${CATALOGUE}")
endif()
list(TRANSFORM rows REPLACE "^.*\"([A-Za-z0-9_]+)\"$" "*\\1*")
list(POP_BACK rows last)
list(JOIN rows ", " QUILLMARK_FIELD_KEYS)
string(APPEND QUILLMARK_FIELD_KEYS " and ${last}")
set(PROJECT_VERSION "${VERSION}")
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
