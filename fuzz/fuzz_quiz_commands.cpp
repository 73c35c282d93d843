// Plays arbitrary sequences of clicks and typing against the quiz, with the
// random numbers taken from the input as well, and stops at the first step
// that breaks a promise the window relies on.
//
// Input: commands and the text they type are read from the front, random
// numbers from the back, so a change to one leaves the other alone.
//   'n' next problem        'c' check the answer     'e' empty the field
//   'r' the right product, as a child might type it (next byte: which way)
//   'w' a wrong number (next byte: which one)
//   'd' digits (next byte: how many, then one byte per digit)
//   'j' raw bytes (next byte: how many)   'h' a huge text (next byte: size)
// Any other byte stands for one of these.

#include "fuzz_input.h"
#include "quiz_player.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    quiz_fuzz::Input input(data, size);
    quiz_fuzz::Player(input).play();
    return 0;
}
