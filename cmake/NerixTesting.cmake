# Test helpers: one GoogleTest binary per folder, discovered just before the tests run.
if(NERIX_BUILD_TESTS)
    enable_testing()
    find_package(GTest REQUIRED)
    include(GoogleTest)
endif()

# nerix_add_test(<name> SOURCES ... LIBS ... [QT])
# QT gives the binary a main that creates a QApplication (offscreen when there is no display).
function(nerix_add_test name)
    if(NOT NERIX_BUILD_TESTS)
        return()
    endif()
    cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_QT)
        target_link_libraries(${name} PRIVATE nerix_qtest_main)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock nerix_options)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
endfunction()

# A test that loads our two DSP libraries by path and uses the signal path's test fixtures.
function(nerix_test_uses_dsp_libraries target)
    if(NOT TARGET ${target})
        return()
    endif()
    add_dependencies(${target} nerix nsp)
    target_compile_definitions(${target} PRIVATE
        NERIX_TEST_NERIX_LIB="$<TARGET_FILE:nerix>" NERIX_TEST_NSP_LIB="$<TARGET_FILE:nsp>")
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/dsp/tests)
endfunction()
