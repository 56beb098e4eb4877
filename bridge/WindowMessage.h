#pragma once
// A message between endpoints: the stand-in for a posted or sent window message.
#include <cstdint>
#include <string>

namespace sc::bridge {

// A window handle: the 32-bit id of a process's endpoint; 0 is "no window".
using WindowId = std::uint32_t;

struct WindowMessage {
    std::uint32_t message = 0;
    WindowId from = 0;
    std::uint32_t wParam = 0;
    std::uint32_t lParam = 0;
    std::uint32_t dataWord = 0;  // the copy-data record's data word
    std::string data;            // payload: row bytes, drop record or text
};

}  // namespace sc::bridge
