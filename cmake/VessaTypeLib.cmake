# vessa_compile_idl(<idl> <out-dir> <base-name>)
# Compiles a type library's IDL with widl into <out-dir>/<base>.tlb, <base>_h.h
# and <base>_i.c, for the configuration's word size.
find_program(VESSA_WIDL NAMES widl REQUIRED)
find_file(VESSA_STDOLE2 stdole2.tlb
    PATHS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
get_filename_component(VESSA_STDOLE2_DIR ${VESSA_STDOLE2} DIRECTORY)

function(vessa_compile_idl idl out base)
    file(MAKE_DIRECTORY ${out})
    get_filename_component(idl_path ${idl} ABSOLUTE)
    add_custom_command(OUTPUT ${out}/${base}.tlb ${out}/${base}_h.h ${out}/${base}_i.c
        COMMAND ${VESSA_WIDL} ${VESSA_WIDL_ARCH} -I/usr/include/wine/wine/windows -L${VESSA_STDOLE2_DIR}
                -t -T ${out}/${base}.tlb -h -H ${out}/${base}_h.h -u -U ${out}/${base}_i.c ${idl_path}
        DEPENDS ${idl_path}
        COMMENT "Compiling the type library ${base}"
        VERBATIM)
endfunction()
