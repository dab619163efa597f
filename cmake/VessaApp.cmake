# vessa_deliverable(<target>...)
# The app folder holds what ships and nothing else: the programs, the
# controls and the libraries they load. Each target named here is copied
# there whenever the target `vessa_app` (part of every build) is built; test
# and benchmark programs stay in bin/ only. Programs a former build left
# there that no longer ship are removed; the files the programs write
# themselves are left alone.
set(VESSA_APP_DIR ${CMAKE_BINARY_DIR}/app CACHE PATH "Folder that receives the deliverables")
add_custom_target(vessa_app ALL)

function(vessa_deliverable)
    foreach(target IN LISTS ARGN)
        add_custom_target(${target}_in_app
            COMMAND ${CMAKE_COMMAND} -DFROM=$<TARGET_FILE:${target}> -DTO=${VESSA_APP_DIR}
                    -P ${CMAKE_SOURCE_DIR}/cmake/copy_to_app.cmake
            VERBATIM)
        add_dependencies(${target}_in_app ${target})
        add_dependencies(vessa_app ${target}_in_app)
        set_property(GLOBAL APPEND PROPERTY VESSA_DELIVERABLES ${target})
    endforeach()
endfunction()

# Once every folder has named its deliverables.
function(vessa_app_prune_step)
    get_property(targets GLOBAL PROPERTY VESSA_DELIVERABLES)
    set(names "")
    foreach(target IN LISTS targets)
        string(APPEND names "$<TARGET_FILE_NAME:${target}>\n")
    endforeach()
    file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/app_files.txt CONTENT "${names}")
    add_custom_command(TARGET vessa_app POST_BUILD
        COMMAND ${CMAKE_COMMAND} -DLIST=${CMAKE_BINARY_DIR}/app_files.txt -DTO=${VESSA_APP_DIR}
                -P ${CMAKE_SOURCE_DIR}/cmake/prune_app.cmake
        VERBATIM)
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL vessa_app_prune_step)
