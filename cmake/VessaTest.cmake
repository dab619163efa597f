# vessa_add_test(name SOURCES ... LIBS ... [LOCKS ...])
# One test executable, one ctest entry: under Wine, process start-up is the cost.
# The emulator (cmake/wine-run.sh) gives each run a Wine prefix and display of
# its own, so tests need no locks or serial runs for the registry,
# registrations, kernel objects, the cursor or the clipboard; LOCKS names a
# ctest resource lock for anything still shared beyond those.
#
# A test whose command is a script that runs Windows programs itself gets
# the same with ${VESSA_WINE_ISOLATE} before the script.
set(VESSA_WINE_ISOLATE ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh --isolate)

function(vessa_add_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;LOCKS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} vessa_testsupport GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
    if(T_LOCKS)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
    endif()
endfunction()
