#include "LLRURERU.h"

#include <dlfcn.h>

const char* const CardDriverEntryNames[CardDriverEntryCount] = {
    "GetNumCards",
    "QueryCardInfo",
    "QueryBARBase",
    "WaitForIRQ",
    "COSWaitForIRQ",
    "WDGHandleIRQ",
    "AbortRequest",
    "CloseCard",
    "WDGInit",
    "WDGSetTimeout",
    "WDGSetResetDuration",
    "WDGPet",
    "WDGReadTemp",
    "WDGReadStatus",
    "WDGStart",
    "WDGStop",
    "EmergencyReboot",
    "InPortB",
    "OutPortB",
    "InPort",
    "OutPort",
    "InPortL",
    "OutPortL",
    "InPortDWord",
    "OutPortDWord",
    "RelInPortB",
    "RelOutPortB",
    "RelInPort",
    "RelOutPort",
    "RelInPortL",
    "RelOutPortL",
    "RelInPortDWord",
    "RelOutPortDWord",
};

void* CardDriverEntries[CardDriverEntryCount] = {};
bool CardDriverLoaded = false;
const char* CardDriverLibraryName = "libRURERU.so";

namespace {
constexpr int GetNumCardsEntry = 0;
} // namespace

void LoadCardDriver()
{
    if (CardDriverLoaded)
        return;
    // Local binding: the driver's own InPortB/OutPortB must not stand in for the
    // port-I/O library's. The library stays loaded for the process's life; the
    // handle is not needed once the entries are taken.
    void* library = dlopen(CardDriverLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return;
    bool all = true;
    for (int i = 0; i < CardDriverEntryCount; ++i) {
        CardDriverEntries[i] = dlsym(library, CardDriverEntryNames[i]);
        if (!CardDriverEntries[i])
            all = false;
    }
    CardDriverLoaded = all;
}

std::int32_t GetNumCards()
{
    void* entry = CardDriverEntries[GetNumCardsEntry];
    if (!entry)
        return 0;
    return reinterpret_cast<std::int32_t (*)()>(entry)();
}
