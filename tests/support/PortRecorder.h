#pragma once

#include "PortIo.h"

#include <QList>
#include <QPair>

// Replaces the port-I/O table for its lifetime: reads answer `readValue`,
// writes are recorded in order.
class PortRecorder
{
public:
    explicit PortRecorder(std::uint32_t readValue = 0) : readValue(readValue)
    {
        PortIo().InPortB = [this](std::uint32_t port) {
            reads.append(port);
            return this->readValue;
        };
        PortIo().OutPortB = [this](std::uint32_t port, std::uint8_t value) {
            writes.append({port, value});
        };
    }
    ~PortRecorder() { ResetPortIo(); }
    PortRecorder(const PortRecorder&) = delete;
    PortRecorder& operator=(const PortRecorder&) = delete;

    std::uint32_t readValue;
    QList<std::uint32_t> reads;
    QList<QPair<std::uint32_t, std::uint8_t>> writes;
};
