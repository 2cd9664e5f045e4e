# SPDX-License-Identifier: MIT
# One fuzz target, built two ways from the same source. In every build, <NAME>_fuzz_replay runs
# the target over its committed corpus as the test TEST, against a sanitized copy of the product
# sources it checks, so the product libraries stay uninstrumented. With QUILLMARK_FUZZ (clang),
# <NAME>_fuzz is also a libFuzzer program.
#   quillmark_fuzz_target(NAME n TEST t SOURCE fuzz.cpp CORPUS dir FROM group... [SOURCES ...]
#                         [LIBRARIES ...])
# FROM names product source groups (decoder, cli: the QUILLMARK_<GROUP>_SOURCES properties). Each
# group is compiled once per instrumentation and shared by every target that names it, so four
# replay targets do not compile the decoder four times.

set(QUILLMARK_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)
set(QUILLMARK_FUZZER_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)

# The static library quillmark_<group>_<kind> of one source group, compiled with flags.
function(quillmark_instrumented_group group kind out)
    set(name quillmark_${group}_${kind})
    if(NOT TARGET ${name})
        string(TOUPPER "${group}" upper)
        get_property(sources GLOBAL PROPERTY QUILLMARK_${upper}_SOURCES)
        get_property(libraries GLOBAL PROPERTY QUILLMARK_${upper}_LIBRARIES)
        if(NOT sources)
            message(FATAL_ERROR "no source group ${group}")
        endif()
        add_library(${name} STATIC ${sources})
        target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
        target_link_libraries(${name} PUBLIC ${libraries})
        target_compile_features(${name} PUBLIC cxx_std_20)
        target_compile_options(${name} PRIVATE ${ARGN})
    endif()
    set(${out} ${name} PARENT_SCOPE)
endfunction()

function(quillmark_fuzz_target)
    cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME;TEST;SOURCE;CORPUS" "FROM;SOURCES;LIBRARIES")
    # Later groups depend on earlier ones (cli on decoder): the linker wants them the other way.
    list(REVERSE arg_FROM)

    set(groups)
    foreach(group IN LISTS arg_FROM)
        quillmark_instrumented_group(${group} sanitized lib ${QUILLMARK_SANITIZE_FLAGS})
        list(APPEND groups ${lib})
    endforeach()
    add_executable(${arg_NAME}_fuzz_replay "${arg_SOURCE}"
        "${PROJECT_SOURCE_DIR}/tests/decoder/fuzz_replay_main.cpp" ${arg_SOURCES})
    target_include_directories(${arg_NAME}_fuzz_replay PRIVATE "${PROJECT_SOURCE_DIR}")
    target_link_libraries(${arg_NAME}_fuzz_replay PRIVATE ${groups} ${arg_LIBRARIES})
    target_compile_options(${arg_NAME}_fuzz_replay PRIVATE ${QUILLMARK_SANITIZE_FLAGS})
    target_link_options(${arg_NAME}_fuzz_replay PRIVATE ${QUILLMARK_SANITIZE_FLAGS})
    add_test(NAME ${arg_TEST} COMMAND ${arg_NAME}_fuzz_replay "${arg_CORPUS}")
    set_tests_properties(${arg_TEST} PROPERTIES ENVIRONMENT
        "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1")

    if(QUILLMARK_FUZZ)
        if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
            message(FATAL_ERROR "QUILLMARK_FUZZ needs clang (for example CXX=clang++)")
        endif()
        set(groups)
        foreach(group IN LISTS arg_FROM)
            quillmark_instrumented_group(${group} fuzzed lib ${QUILLMARK_FUZZER_FLAGS})
            list(APPEND groups ${lib})
        endforeach()
        set(fuzz_flags -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
        add_executable(${arg_NAME}_fuzz "${arg_SOURCE}" ${arg_SOURCES})
        target_include_directories(${arg_NAME}_fuzz PRIVATE "${PROJECT_SOURCE_DIR}")
        target_link_libraries(${arg_NAME}_fuzz PRIVATE ${groups} ${arg_LIBRARIES})
        target_compile_options(${arg_NAME}_fuzz PRIVATE ${fuzz_flags})
        target_link_options(${arg_NAME}_fuzz PRIVATE ${fuzz_flags})
    endif()
endfunction()
