# SPDX-License-Identifier: MIT
# Tests and benchmark of the edit value logic (target edit_value, controls/edit).
# Include from the top-level CMakeLists after add_subdirectory(controls/edit).
# GoogleTest comes from find_package, or from a GTest::gtest_main target the includer made
# (cross builds compile it from /usr/src/googletest).
get_filename_component(VX_EDIT_VALUE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

if(NOT TARGET GTest::gtest_main)
    find_package(GTest QUIET)
endif()
if(TARGET GTest::gtest_main)
    include(GoogleTest)
    add_executable(edit_value_test ${VX_EDIT_VALUE_ROOT}/tests/controls/edit/EditValueTest.cpp)
    target_link_libraries(edit_value_test PRIVATE edit_value GTest::gtest_main)
    target_compile_options(edit_value_test PRIVATE -Wall -Wextra -Werror)
    gtest_discover_tests(edit_value_test DISCOVERY_MODE PRE_TEST)
endif()


if(NOT TARGET benchmark::benchmark)
    find_package(benchmark QUIET)
endif()
if(TARGET benchmark::benchmark)
    add_executable(edit_value_bench ${VX_EDIT_VALUE_ROOT}/bench/edit_value_bench.cpp)
    target_link_libraries(edit_value_bench PRIVATE edit_value benchmark::benchmark)
    target_compile_options(edit_value_bench PRIVATE -Wall -Wextra -Werror)
endif()
