#pragma once

#include <cstdint>

// Byte-wide port I/O, exported by the port-I/O library (libDODED32.so). The
// program is linked against it, so it does not start without the library.
extern "C" {
// Reads one byte from Port. Answers 0xAA55 when the port-access driver is
// missing, a value no byte read can give.
std::uint32_t InPortB(std::uint32_t Port);
// Writes the byte Value to Port.
void OutPortB(std::uint32_t Port, std::uint8_t Value);
}
