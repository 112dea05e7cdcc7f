/* A simulated card behind the port-I/O calls, for running the program and its
 * tests without hardware. It has the soname of the real library; putting its
 * folder first on LD_LIBRARY_PATH swaps it in.
 *
 * The card decodes an index register and a data register at consecutive ports,
 * at whatever base the program uses. A write to any port other than the data
 * port is an index write: that port becomes the index port, the next one the
 * data port, and the byte written selects a register. A write to the data port
 * stores the byte in the selected register; a read of it answers the selected
 * register. The ten configuration registers have indexes 1 to 10; other
 * indexes store nothing and read 0xFF. Every other read answers 0xFF, so the
 * start-up probe of port 0x61 sees a driver. Ports above 0xFFFF are not
 * decoded: like the real library, a read answers 0xAA55 and a write is dropped.
 *
 * DODED32_SIM_DRIVER=missing acts like a machine without port access: reads
 * answer 0xAA55 and writes change nothing. The calls are still traced, so a
 * test sees what the program attempted.
 *
 * DODED32_SIM_TRACE names a file that gets one line per call: "out PPPP VV"
 * for a write, "in PPPP VVVV" for a read (upper-case hex; a port above 0xFFFF
 * shows all its digits). The file is opened, appended and closed at every
 * call, so the trace is complete even when the process is killed.
 *
 * Both variables are read at every call. */
#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#define REGISTER_COUNT 10

static uint8_t registers[REGISTER_COUNT + 1]; /* [0] unused */
static int haveIndex;                         /* an index write has happened */
static uint32_t indexPort;
static uint8_t selected;

static int driverMissing(void)
{
    const char* s = getenv("DODED32_SIM_DRIVER");
    return s && strcmp(s, "missing") == 0;
}

static void trace(const char* line, int length)
{
    const char* path = getenv("DODED32_SIM_TRACE");
    if (!path || !*path || length <= 0)
        return;
    int fd = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    /* One write per line: the line lands whole even if the process dies. */
    ssize_t written = write(fd, line, (size_t)length);
    (void)written;
    close(fd);
}

static int isDataPort(uint32_t port)
{
    return haveIndex && port == indexPort + 1;
}

static uint32_t readCard(uint32_t port)
{
    if (port > 0xFFFF || driverMissing())
        return 0xAA55;
    if (isDataPort(port) && selected >= 1 && selected <= REGISTER_COUNT)
        return registers[selected];
    return 0xFF;
}

static void writeCard(uint32_t port, uint8_t value)
{
    if (port > 0xFFFF || driverMissing())
        return;
    if (isDataPort(port)) {
        if (selected >= 1 && selected <= REGISTER_COUNT)
            registers[selected] = value;
        return;
    }
    haveIndex = 1;
    indexPort = port;
    selected = value;
}

uint32_t InPortB(uint32_t port)
{
    uint32_t value = readCard(port);
    char line[32];
    trace(line, snprintf(line, sizeof line, "in %04X %04X\n", (unsigned)port, (unsigned)value));
    return value;
}

void OutPortB(uint32_t port, uint8_t value)
{
    writeCard(port, value);
    char line[32];
    trace(line, snprintf(line, sizeof line, "out %04X %02X\n", (unsigned)port, (unsigned)value));
}
