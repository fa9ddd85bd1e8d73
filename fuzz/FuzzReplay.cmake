# vela_add_fuzz_replay(<name> <entry source>...)
# Builds a fuzz entry point (LLVMFuzzerTestOneInput) with a small main that
# feeds it every file of fuzz/corpus/<name>/, and registers that replay as an
# ordinary test, so the stored corpus runs in every normal build.
set(VELA_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})

function(vela_add_fuzz_replay name)
    set(exe ${name}_corpus_replay)
    add_executable(${exe} ${ARGN} ${VELA_FUZZ_DIR}/replay_main.cpp)
    target_link_libraries(${exe} PRIVATE velaecr_core)
    add_test(NAME ${exe} COMMAND ${exe} ${VELA_FUZZ_DIR}/corpus/${name})
    set_tests_properties(${exe} PROPERTIES TIMEOUT 120)
endfunction()
