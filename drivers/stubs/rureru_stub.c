/* Stand-in card driver library (libRURERU.so) for tests. Built twice: in full
 * with all 33 entries, and with RURERU_PARTIAL with only some of them, the
 * first missing one ahead of entries that are present. GetNumCards answers the
 * integer in RURERU_STUB_NUM_CARDS (0 when unset), read at every call; the
 * other entries do nothing. */
#include <stdint.h>
#include <stdlib.h>

int32_t GetNumCards(void)
{
    const char* s = getenv("RURERU_STUB_NUM_CARDS");
    return s ? (int32_t)strtol(s, NULL, 10) : 0;
}

#define ENTRY(name)                                                                                \
    int name(void)                                                                                 \
    {                                                                                              \
        return 0;                                                                                  \
    }

ENTRY(QueryBARBase)
ENTRY(WDGPet)
ENTRY(OutPortB)
ENTRY(RelOutPortDWord)

#ifndef RURERU_PARTIAL
ENTRY(QueryCardInfo)
ENTRY(WaitForIRQ)
ENTRY(COSWaitForIRQ)
ENTRY(WDGHandleIRQ)
ENTRY(AbortRequest)
ENTRY(CloseCard)
ENTRY(WDGInit)
ENTRY(WDGSetTimeout)
ENTRY(WDGSetResetDuration)
ENTRY(WDGReadTemp)
ENTRY(WDGReadStatus)
ENTRY(WDGStart)
ENTRY(WDGStop)
ENTRY(EmergencyReboot)
ENTRY(InPortB)
ENTRY(InPort)
ENTRY(OutPort)
ENTRY(InPortL)
ENTRY(OutPortL)
ENTRY(InPortDWord)
ENTRY(OutPortDWord)
ENTRY(RelInPortB)
ENTRY(RelOutPortB)
ENTRY(RelInPort)
ENTRY(RelOutPort)
ENTRY(RelInPortL)
ENTRY(RelOutPortL)
ENTRY(RelInPortDWord)
#endif
