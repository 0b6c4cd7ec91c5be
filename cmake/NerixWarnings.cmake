# Warnings and sanitizers shared by every target of the project.
add_library(nerix_options INTERFACE)
target_compile_options(nerix_options INTERFACE -Wall -Wextra)

# The test and fuzz builds turn it on (scripts/test.sh, scripts/fuzz.sh), so a new warning fails them.
option(NERIX_WERROR "Make every compiler warning an error" OFF)
if(NERIX_WERROR)
    add_compile_options(-Werror)
endif()

if(NERIX_SANITIZE)
    set(_nerix_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_compile_options(nerix_options INTERFACE ${_nerix_san})
    target_link_options(nerix_options INTERFACE ${_nerix_san})
endif()

# nerix_gcc12_false_positive(<warning> <target> <source>...)
# Leaves out one warning for these sources of one target under GCC 12 alone, for a report its optimiser
# makes inside the standard library where the code is sound. Call it once every folder is added.
function(nerix_gcc12_false_positive warning target)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU" OR NOT CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
       OR NOT CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13 OR NOT TARGET ${target})
        return()
    endif()
    get_target_property(_dir ${target} SOURCE_DIR)
    foreach(_source IN LISTS ARGN)
        set_property(SOURCE ${PROJECT_SOURCE_DIR}/${_source} DIRECTORY ${_dir} APPEND
                     PROPERTY COMPILE_OPTIONS -Wno-${warning})
    endforeach()
endfunction()

# Where the optimised build meets GCC 12's false positives.
function(nerix_quiet_gcc12_false_positives)
    # -Wrestrict in <char_traits.h>: a string assigned a literal, or made from a literal and a
    # temporary string, is reported as a copy of 2^63 bytes onto itself (GCC bug 105329).
    nerix_gcc12_false_positive(restrict nerix_profile platform/profile/IniDocument.cpp)
    nerix_gcc12_false_positive(restrict nerix_frame frame/NumberFormat.cpp)
    nerix_gcc12_false_positive(restrict nerix_display display/SpectrumModeLabels.cpp)
    nerix_gcc12_false_positive(restrict nerix_frontpanel_core frontpanel/BandPlanPanel.cpp
                               frontpanel/BandPlanStartUp.cpp frontpanel/FilterControls.cpp)
    nerix_gcc12_false_positive(restrict nerix_frontpanel frontpanel/BandPlanControls.cpp)
    nerix_gcc12_false_positive(restrict nerix_bandplan_fuzz_target frontpanel/fuzz/BandPlanFuzzTarget.cpp)
    nerix_gcc12_false_positive(restrict bandplan_tests frontpanel/tests/BandPlanFuzzReplayTest.cpp)
    # -Warray-bounds and -Wstringop-overread in <stl_algobase.h>: bytes inserted after a vector's first
    # two are reported as copied past those two, though the insert makes room first.
    foreach(_warning array-bounds stringop-overread)
        nerix_gcc12_false_positive(${_warning} nerix_profile_fuzz_target
                                   platform/profile/fuzz/IniFuzzTarget.cpp)
    endforeach()
    # -Wmaybe-uninitialized in the scripted dialog service: an answer moved out of a queued
    # std::optional of a file dialog's result is reported as read before it was set.
    nerix_gcc12_false_positive(maybe-uninitialized mainwindow_x11_tests
                               mainwindow/tests/PowerFrameDragTest.cpp)
    nerix_gcc12_false_positive(maybe-uninitialized bench_startup bench/StartupBench.cpp)
endfunction()
