#pragma once

#include <cstdint>

// Run-time binding of the card driver library (libRURERU.so, found by the
// platform's normal library search). Process-wide state.

constexpr int CardDriverEntryCount = 33;

// Export names, in binding order.
extern const char* const CardDriverEntryNames[CardDriverEntryCount];
// One entry per name; empty (null) until bound or when the library lacks it.
extern void* CardDriverEntries[CardDriverEntryCount];
// True only when all 33 entries were found.
extern bool CardDriverLoaded;
// The library file LoadCardDriver opens: "libRURERU.so", found by the normal
// library search. Tests point it at a stand-in by path.
extern const char* CardDriverLibraryName;

// Binds the library unless it is fully bound already; repeats the look-ups
// while it is not.
void LoadCardDriver();

// The number of the maker's cards installed; 0 while GetNumCards is not bound.
std::int32_t GetNumCards();
