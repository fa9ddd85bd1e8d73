# vela_add_gtest(NAME source... [LABELS label...])
# A GoogleTest program linked with the library internals, registered with
# CTest. Label "threaded" marks tests that the ThreadSanitizer run executes.
find_package(GTest REQUIRED)
include(GoogleTest)

# A ThreadSanitizer report does not always change a test program's exit
# status; halting on the first report makes every race fail its test.
set(VELA_TEST_ENVIRONMENT "TSAN_OPTIONS=halt_on_error=1")

function(vela_add_gtest name)
    cmake_parse_arguments(ARG "" "" "LABELS;LIBS" ${ARGN})
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE velaecr_core ${ARG_LIBS} GTest::gtest GTest::gtest_main
                                          GTest::gmock)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120
                         LABELS "${ARG_LABELS}" ENVIRONMENT "${VELA_TEST_ENVIRONMENT}")
endfunction()
