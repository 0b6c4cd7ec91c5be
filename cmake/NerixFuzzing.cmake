# libFuzzer targets. Each file reader has one; its entry point and its target library are built in every
# tree (the tests replay the target on seeded input), its fuzzer executable only with clang:
# - NERIX_FUZZ=ON builds a tree of fuzzers alone (target nerix_fuzzers), everything instrumented for
#   libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer, and lists them in fuzzers.txt for
#   scripts/test.sh;
# - a clang test tree also runs each fuzzer briefly as a test.
if(NERIX_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "NERIX_FUZZ needs clang (CMAKE_CXX_COMPILER=clang++)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
    add_custom_target(nerix_fuzzers)
endif()

# nerix_add_fuzzer(<name> ENTRY <source> TARGET <library> [COVERED <libraries>...] MAX_LEN <bytes>
#                  SEEDS <patterns>... TEST <name> RUNS <count>)
# COVERED are the libraries of the code under test, instrumented in a test tree so that libFuzzer can steer
# into them (a fuzz tree instruments everything). SEEDS are file patterns, from the source root, of the
# files of the kind the target reads (scripts/fuzz.sh starts its corpus from them). TEST and RUNS name the
# clang test tree's short run.
function(nerix_add_fuzzer name)
    cmake_parse_arguments(ARG "" "ENTRY;TARGET;MAX_LEN;TEST;RUNS" "COVERED;SEEDS" ${ARGN})
    if(NOT ARG_SEEDS)
        message(FATAL_ERROR "nerix_add_fuzzer(${name}): SEEDS names no files to start from")
    endif()
    set(_test_tree FALSE)
    if(NERIX_BUILD_TESTS AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        set(_test_tree TRUE)
    endif()
    if(NOT NERIX_FUZZ AND NOT _test_tree)
        return()
    endif()
    if(NOT NERIX_FUZZ)
        foreach(_lib IN LISTS ARG_TARGET ARG_COVERED)
            target_compile_options(${_lib} PRIVATE -fsanitize=fuzzer-no-link)
        endforeach()
    endif()
    add_executable(${name} ${ARG_ENTRY})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE ${ARG_TARGET})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${NERIX_OUTPUT_DIR})
    if(NERIX_FUZZ)
        add_dependencies(nerix_fuzzers ${name})
        list(JOIN ARG_SEEDS " " _seeds)
        set_property(GLOBAL APPEND PROPERTY NERIX_FUZZERS "${name} ${ARG_MAX_LEN} ${_seeds}")
    endif()
    if(_test_tree)
        # Bounded and repeatable: a fixed seed and number of runs.
        add_test(NAME ${ARG_TEST} COMMAND ${name} -seed=1 -runs=${ARG_RUNS} -max_total_time=30
                                          -max_len=${ARG_MAX_LEN})
    endif()
endfunction()

# fuzzers.txt: one line per fuzzer, its executable's path, the longest input it takes and its seed patterns.
function(nerix_write_fuzzer_list)
    if(NOT NERIX_FUZZ)
        return()
    endif()
    get_property(_fuzzers GLOBAL PROPERTY NERIX_FUZZERS)
    set(_lines "")
    foreach(_entry IN LISTS _fuzzers)
        string(APPEND _lines "${NERIX_OUTPUT_DIR}/${_entry}\n")
    endforeach()
    file(WRITE ${CMAKE_BINARY_DIR}/fuzzers.txt "${_lines}")
endfunction()
