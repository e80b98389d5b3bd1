# SPDX-License-Identifier: MIT
# Text resources (form descriptions) compiled into native executables, which have no
# resource section: each file becomes a C++ source that registers it at start-up.
#
#   vx_embed_text_resources(<target> <NAME> <file> [<NAME> <file> ...])
#       Adds an OBJECT library <target> whose objects register each file under NAME with
#       the headless backend. Object files are always linked, so the registration runs.
include_guard(GLOBAL)

set(_VX_EMBED_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/embed_file.cmake")

function(vx_embed_text_resources target)
    set(sources)
    set(args ${ARGN})
    while(args)
        list(POP_FRONT args name file)
        get_filename_component(file "${file}" ABSOLUTE)
        set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_${name}.cpp")
        add_custom_command(OUTPUT "${out}"
            COMMAND ${CMAKE_COMMAND} -DNAME=${name} -DINPUT=${file} -DOUTPUT=${out}
                    -P "${_VX_EMBED_SCRIPT}"
            DEPENDS "${file}" "${_VX_EMBED_SCRIPT}"
            COMMENT "Embedding ${name}")
        list(APPEND sources "${out}")
    endwhile()
    add_library(${target} OBJECT ${sources})
    target_link_libraries(${target} PRIVATE platform_headless)
endfunction()

#   vx_add_rc(<target> <file.rc> [DEPENDS <files>...])
#       Windows builds: compiles a resource script with windres and links it into <target>.
function(vx_add_rc target rc)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "DEPENDS")
    get_filename_component(rc "${rc}" ABSOLUTE)
    get_filename_component(rc_dir "${rc}" DIRECTORY)
    get_filename_component(rc_name "${rc}" NAME_WE)
    set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_${rc_name}.res.o")
    set(deps)
    foreach(d IN LISTS arg_DEPENDS)
        get_filename_component(d "${d}" ABSOLUTE BASE_DIR "${rc_dir}")
        list(APPEND deps "${d}")
    endforeach()
    add_custom_command(OUTPUT "${out}"
        COMMAND ${CMAKE_RC_COMPILER} -c 65001 --include-dir "${rc_dir}" -i "${rc}" -o "${out}" -O coff
        DEPENDS "${rc}" ${deps}
        COMMENT "Compiling ${rc_name}.rc")
    set_source_files_properties("${out}" PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
    target_sources(${target} PRIVATE "${out}")
endfunction()
