/* Port I/O through ioperm/inb/outb. Port access needs root or CAP_SYS_RAWIO on
 * x86 with ioperm in the kernel. Without it InPortB answers 0xAA55 (the
 * "driver missing" answer) and OutPortB writes nothing. */
#include <stdint.h>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>

/* Asks for access to one port before it is used; inb/outb on a port without
 * granted access kill the process, so they run only after a grant. Ports above
 * 0xFFFF do not exist on x86 and are never touched. */
static int granted(uint32_t port)
{
    /* One bit per port that ioperm has already granted. A refusal is not
     * cached: it is asked again at the next access. */
    static uint8_t ok[0x10000 / 8];
    if (port > 0xFFFF)
        return 0;
    if (ok[port >> 3] & (1u << (port & 7)))
        return 1;
    if (ioperm(port, 1, 1) != 0)
        return 0;
    ok[port >> 3] |= (uint8_t)(1u << (port & 7));
    return 1;
}

uint32_t InPortB(uint32_t port)
{
    if (!granted(port))
        return 0xAA55;
    return inb((unsigned short)port);
}

void OutPortB(uint32_t port, uint8_t value)
{
    if (granted(port))
        outb(value, (unsigned short)port);
}
#else
uint32_t InPortB(uint32_t port)
{
    (void)port;
    return 0xAA55;
}

void OutPortB(uint32_t port, uint8_t value)
{
    (void)port;
    (void)value;
}
#endif
