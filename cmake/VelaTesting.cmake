# vela_add_gtest(NAME source... [LABELS label...])
# A GoogleTest program linked with the library internals, registered with
# CTest. Label "threaded" marks tests that the ThreadSanitizer run executes.
find_package(GTest REQUIRED)
include(GoogleTest)

function(vela_add_gtest name)
    cmake_parse_arguments(ARG "" "" "LABELS;LIBS" ${ARGN})
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE velaecr_core ${ARG_LIBS} GTest::gtest GTest::gtest_main
                                          GTest::gmock)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120
                         LABELS "${ARG_LABELS}")
endfunction()
