# SPDX-License-Identifier: MIT
# One fuzz target, built two ways from the same source. In every build, <NAME>_fuzz_replay runs
# the target over its committed corpus as the test TEST, against its own sanitized copy of the
# sources it checks, so the product libraries stay uninstrumented. With QUILLMARK_FUZZ (clang),
# <NAME>_fuzz is also a libFuzzer program.
#   quillmark_fuzz_target(NAME n TEST t SOURCE fuzz.cpp CORPUS dir SOURCES ... [LIBRARIES ...])
function(quillmark_fuzz_target)
    cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME;TEST;SOURCE;CORPUS" "SOURCES;LIBRARIES")
    set(sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all
        -fno-omit-frame-pointer)

    add_executable(${arg_NAME}_fuzz_replay "${arg_SOURCE}"
        "${PROJECT_SOURCE_DIR}/tests/decoder/fuzz_replay_main.cpp" ${arg_SOURCES})
    target_include_directories(${arg_NAME}_fuzz_replay PRIVATE "${PROJECT_SOURCE_DIR}")
    target_link_libraries(${arg_NAME}_fuzz_replay PRIVATE ${arg_LIBRARIES})
    target_compile_options(${arg_NAME}_fuzz_replay PRIVATE ${sanitize_flags})
    target_link_options(${arg_NAME}_fuzz_replay PRIVATE ${sanitize_flags})
    add_test(NAME ${arg_TEST} COMMAND ${arg_NAME}_fuzz_replay "${arg_CORPUS}")
    set_tests_properties(${arg_TEST} PROPERTIES ENVIRONMENT
        "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1")

    if(QUILLMARK_FUZZ)
        if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
            message(FATAL_ERROR "QUILLMARK_FUZZ needs clang (for example CXX=clang++)")
        endif()
        set(fuzz_flags -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
        add_executable(${arg_NAME}_fuzz "${arg_SOURCE}" ${arg_SOURCES})
        target_include_directories(${arg_NAME}_fuzz PRIVATE "${PROJECT_SOURCE_DIR}")
        target_link_libraries(${arg_NAME}_fuzz PRIVATE ${arg_LIBRARIES})
        target_compile_options(${arg_NAME}_fuzz PRIVATE ${fuzz_flags})
        target_link_options(${arg_NAME}_fuzz PRIVATE ${fuzz_flags})
    endif()
endfunction()
