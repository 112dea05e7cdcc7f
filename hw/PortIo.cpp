#include "PortIo.h"

#include "DODED32.h"

namespace {
PortIoTable defaultTable() { return {&::InPortB, &::OutPortB}; }
} // namespace

PortIoTable& PortIo()
{
    static PortIoTable table = defaultTable();
    return table;
}

void ResetPortIo() { PortIo() = defaultTable(); }
