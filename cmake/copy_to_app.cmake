# cmake -DFROM=<file> -DTO=<folder> -P copy_to_app.cmake
# Copies a deliverable into the app folder when it changed. The new file
# takes the old one's name by a rename, never by writing into it: a copy of
# the program that is running from the folder keeps its own file.
cmake_minimum_required(VERSION 3.20)
get_filename_component(name ${FROM} NAME)
set(dest ${TO}/${name})
if(EXISTS ${dest})
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${FROM} ${dest} RESULT_VARIABLE differs)
    if(differs EQUAL 0)
        return()
    endif()
endif()
file(MAKE_DIRECTORY ${TO})
string(RANDOM LENGTH 8 tag)
configure_file(${FROM} ${TO}/.${name}.${tag} COPYONLY)
file(RENAME ${TO}/.${name}.${tag} ${dest})
