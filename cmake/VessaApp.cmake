# vessa_deliverable(<target>...)
# The app folder holds what ships and nothing else: the programs, the
# controls and the libraries they load. Each target named here is copied
# there whenever the target `vessa_app` (part of every build) is built; test
# and benchmark programs stay in bin/ only.
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
    endforeach()
endfunction()
