#pragma once

// The fuzzer's input, read from both ends: commands and the text they type
// from the front, random numbers from the back, so a change to one leaves
// the other alone.

#include "quiz_fakes.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace quiz_fuzz {

class Input {
  public:
    Input(const std::uint8_t *data, std::size_t size) : data_(data), back_(size) {}

    bool empty() const { return front_ == back_; }
    std::uint8_t front() { return empty() ? 0 : data_[front_++]; }
    std::optional<std::uint8_t> back()
    {
        if (empty())
            return std::nullopt;
        return data_[--back_];
    }
    std::string text(std::size_t length)
    {
        length = std::min(length, back_ - front_);
        std::string bytes(reinterpret_cast<const char *>(data_ + front_), length);
        front_ += length;
        return bytes;
    }

  private:
    const std::uint8_t *data_;
    std::size_t front_ = 0;
    std::size_t back_;
};

// Random numbers from the back of the input, then the pairs' walk.
class InputRandom final : public ScriptedRandomSource {
  public:
    explicit InputRandom(Input &input) : input_(input) {}

  private:
    std::optional<double> nextScripted() override
    {
        if (const auto byte = input_.back())
            return valueOf(*byte);
        return std::nullopt;
    }

    // Most bytes spread evenly over [0, 1); the top four break the source's
    // promise, which generation must survive all the same.
    static double valueOf(std::uint8_t byte)
    {
        switch (byte) {
        case 0xFF:
            return 1.0;
        case 0xFE:
            return -0.25;
        case 0xFD:
            return std::numeric_limits<double>::quiet_NaN();
        case 0xFC:
            return std::numeric_limits<double>::infinity();
        default:
            return byte / 256.0;
        }
    }

    Input &input_;
};

} // namespace quiz_fuzz
