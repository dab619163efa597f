# Objects and programs are written under a temporary name and renamed when
# whole. A build killed in the middle of a compile or a link then leaves no
# half-written or empty file behind that the next build, seeing it newer than
# its inputs, would take as up to date. Libraries (DLL, OCX) are linked under
# their own name, since the linker writes the output's file name into the
# library as its name; scripts/build.sh removes what an interrupted build of
# its own wrote.
foreach(lang C CXX)
    foreach(rule COMPILE_OBJECT LINK_EXECUTABLE)
        set(var CMAKE_${lang}_${rule})
        if(NOT DEFINED ${var})
            continue()
        endif()
        if(rule STREQUAL COMPILE_OBJECT)
            set(output "<OBJECT>")
        else()
            set(output "<TARGET>")
        endif()
        set(commands "")
        set(found FALSE)
        foreach(command IN LISTS ${var})
            string(FIND "${command}" "-o ${output} " at)
            if(at GREATER_EQUAL 0)
                string(REPLACE "-o ${output} " "-o ${output}.part " command "${command}")
                set(found TRUE)
            endif()
            list(APPEND commands "${command}")
        endforeach()
        if(found)
            list(APPEND commands "\"${CMAKE_COMMAND}\" -E rename ${output}.part ${output}")
            set(${var} "${commands}")
        endif()
    endforeach()
endforeach()
