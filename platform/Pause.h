#pragma once

#include <cstdint>

// Waits until the tick count has moved on by more than `ms`, handling every
// pending event at least once and every event that arrives meanwhile, so the
// windows keep repainting and responding. Between events the thread sleeps
// until the next event or the deadline; it does not spin.
void PauseWithMessages(std::uint32_t ms);

// As above with another millisecond tick source (32-bit, wrapping).
using TickSource = std::uint32_t (*)();
void PauseWithMessages(std::uint32_t ms, TickSource tickCount);
