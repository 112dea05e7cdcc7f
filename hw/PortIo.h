#pragma once

#include <cstdint>
#include <functional>

// The port-I/O calls the program makes, as a table that defaults to the
// library's exports. Tests swap in recording functions.
struct PortIoTable
{
    std::function<std::uint32_t(std::uint32_t port)> InPortB;
    std::function<void(std::uint32_t port, std::uint8_t value)> OutPortB;
};

PortIoTable& PortIo();
void ResetPortIo();
