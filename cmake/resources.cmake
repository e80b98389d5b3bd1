# SPDX-License-Identifier: MIT
# The executable's own resources (version information, manifest, application icon) and the
# native test that reads them back out of a built executable. include() this file once.
#
#   vx_add_app_resources(<target>)
#       Windows builds with MinGW (cross or native): generates the icon with tools/icongen,
#       compiles app/res/Orvalen.rc with windres and links the object into <target>. Call it in
#       the directory that defines <target>. Does nothing when the target system is not Windows.
#
#   vx_add_resources_test(<exe_path>)
#       Native builds: adds the GoogleTest executable `resources_test` and registers its cases
#       with CTest; they read <exe_path> (a built 32-bit Orvalen.exe) and skip when it is empty
#       or missing.
#
# How the icon is made: icongen must run on the build machine, so it is compiled with the
# host's C++ compiler by a plain custom command (no CMake sub-project, no toolchain to undo).
# The host compiler is VX_HOST_CXX if set, else the project's own compiler in a native build,
# else the first of c++, g++, clang++ on PATH.
#
# windres is run by a custom command rather than through CMake's RC language, so the target's
# C++ compile options (warnings, sanitizers) never reach it; it is CMAKE_RC_COMPILER when set,
# else <triple>-windres or windres next to the compiler.
include_guard(GLOBAL)

set(_VX_RES_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/..")
cmake_path(NORMAL_PATH _VX_RES_SOURCE_ROOT)

function(_vx_host_cxx out_var)
    if(VX_HOST_CXX)
        set(cxx "${VX_HOST_CXX}")
    elseif(NOT CMAKE_CROSSCOMPILING)
        set(cxx "${CMAKE_CXX_COMPILER}")
    else()
        find_program(VX_HOST_CXX NAMES c++ g++ clang++ NO_CMAKE_FIND_ROOT_PATH
                     DOC "C++ compiler for tools that run on the build machine")
        if(NOT VX_HOST_CXX)
            message(FATAL_ERROR "No host C++ compiler found to build icongen; set VX_HOST_CXX.")
        endif()
        set(cxx "${VX_HOST_CXX}")
    endif()
    set(${out_var} "${cxx}" PARENT_SCOPE)
endfunction()

function(_vx_windres out_var)
    if(CMAKE_RC_COMPILER)
        set(${out_var} "${CMAKE_RC_COMPILER}" PARENT_SCOPE)
        return()
    endif()
    # i686-w64-mingw32-g++-posix -> i686-w64-mingw32-windres; g++ -> windres
    get_filename_component(compiler_dir "${CMAKE_CXX_COMPILER}" DIRECTORY)
    get_filename_component(compiler_name "${CMAKE_CXX_COMPILER}" NAME)
    string(REGEX MATCH "^.*-w64-mingw32-" prefix "${compiler_name}")
    find_program(VX_WINDRES NAMES ${prefix}windres windres HINTS "${compiler_dir}"
                 NO_CMAKE_FIND_ROOT_PATH DOC "Windows resource compiler")
    if(NOT VX_WINDRES)
        message(FATAL_ERROR "windres not found; set CMAKE_RC_COMPILER.")
    endif()
    set(${out_var} "${VX_WINDRES}" PARENT_SCOPE)
endfunction()

function(vx_add_app_resources target)
    if(NOT CMAKE_SYSTEM_NAME STREQUAL "Windows")
        return()
    endif()
    if(NOT MINGW)
        message(FATAL_ERROR "vx_add_app_resources: only MinGW toolchains (windres) are supported.")
    endif()
    get_target_property(target_dir ${target} SOURCE_DIR)
    if(NOT target_dir STREQUAL CMAKE_CURRENT_SOURCE_DIR)
        # The generated files' custom commands must live where the target is defined.
        message(FATAL_ERROR "vx_add_app_resources(${target}) must be called in ${target_dir}.")
    endif()

    set(res_dir "${_VX_RES_SOURCE_ROOT}/app/res")
    set(icongen_src "${_VX_RES_SOURCE_ROOT}/tools/icongen/icongen.cpp")
    set(gen_dir "${CMAKE_CURRENT_BINARY_DIR}/${target}_res")
    set(icongen "${gen_dir}/icongen")
    set(host_flags -std=c++20 -O2)
    if(CMAKE_HOST_WIN32)
        string(APPEND icongen ".exe")
        # Runs from the build without the compiler's runtime DLLs on PATH.
        list(APPEND host_flags -static)
    endif()
    set(ico "${gen_dir}/Orvalen.ico")
    set(obj "${gen_dir}/Orvalen.rc.obj")
    _vx_host_cxx(host_cxx)
    _vx_windres(windres)

    add_custom_command(
        OUTPUT "${icongen}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${gen_dir}"
        COMMAND "${host_cxx}" ${host_flags} -o "${icongen}" "${icongen_src}"
        DEPENDS "${icongen_src}"
        COMMENT "Building host tool icongen"
        VERBATIM)
    add_custom_command(
        OUTPUT "${ico}"
        COMMAND "${icongen}" "${ico}"
        DEPENDS "${icongen}"
        COMMENT "Generating Orvalen.ico"
        VERBATIM)
    # -c 65001: the script is UTF-8, so non-ASCII text in it stays right.
    add_custom_command(
        OUTPUT "${obj}"
        COMMAND "${windres}" -c 65001 -I "${gen_dir}" -I "${res_dir}"
                --input-format=rc --output-format=coff -o "${obj}" "${res_dir}/Orvalen.rc"
        DEPENDS "${res_dir}/Orvalen.rc" "${res_dir}/Orvalen.manifest" "${res_dir}/ProductInfo.h"
                "${ico}"
        COMMENT "Compiling Orvalen.rc"
        VERBATIM)
    set_source_files_properties("${obj}" PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
    target_sources(${target} PRIVATE "${obj}")
endfunction()

function(vx_add_resources_test exe_path)
    if(CMAKE_CROSSCOMPILING)
        message(STATUS "resources_test is a native test; not added to this cross build.")
        return()
    endif()
    if(NOT TARGET GTest::gtest)
        find_package(GTest REQUIRED)
    endif()
    include(GoogleTest)

    set(dir "${_VX_RES_SOURCE_ROOT}/tests/resources")
    add_executable(resources_test
        "${dir}/ResourcesTest.cpp"
        "${dir}/ReaderRobustnessTest.cpp"
        "${dir}/PeResources.cpp"
        "${dir}/VersionInfo.cpp"
        "${dir}/XmlScan.cpp"
        "${dir}/TestResourceBuilder.cpp")
    target_compile_features(resources_test PRIVATE cxx_std_20)
    target_link_libraries(resources_test PRIVATE GTest::gtest)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(resources_test PRIVATE -Wall -Wextra -Werror)
        # The reader's whole point is never to read out of bounds: keep it under the sanitizers.
        option(VX_RESOURCES_TEST_SANITIZE "Build resources_test with ASan and UBSan" ON)
        if(VX_RESOURCES_TEST_SANITIZE)
            set(san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
            target_compile_options(resources_test PRIVATE ${san})
            target_link_options(resources_test PRIVATE ${san})
        endif()
    endif()
    gtest_discover_tests(resources_test
        DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "VX_ORVALEN_EXE=${exe_path}")
endfunction()
