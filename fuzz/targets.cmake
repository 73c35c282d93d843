# Each fuzz target and the files its body is made of, for the libFuzzer
# builds here and for the corpus replay in tests/fuzz/.
set(fuzz_targets fuzz_parse_answer fuzz_quiz_commands)
set(fuzz_parse_answer_sources ${CMAKE_CURRENT_LIST_DIR}/fuzz_parse_answer.cpp)
set(fuzz_quiz_commands_sources
    ${CMAKE_CURRENT_LIST_DIR}/fuzz_quiz_commands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/quiz_invariants.cpp
    ${CMAKE_CURRENT_LIST_DIR}/quiz_player.cpp)
