# cmake -DLIST=<file of names> -DTO=<folder> -P prune_app.cmake
# Removes programs and libraries from the app folder that are not named in
# the list of deliverables (left there by a build that copied everything).
cmake_minimum_required(VERSION 3.20)
file(STRINGS ${LIST} keep)
string(TOLOWER "${keep}" keep)
file(GLOB present LIST_DIRECTORIES false ${TO}/*)
foreach(path IN LISTS present)
    get_filename_component(name ${path} NAME)
    string(TOLOWER "${name}" lower)
    if(lower MATCHES "\\.(exe|dll|ocx)$" AND NOT lower IN_LIST keep)
        message(STATUS "Not a deliverable, removed from the app folder: ${name}")
        file(REMOVE ${path})
    endif()
endforeach()
