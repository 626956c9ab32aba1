#pragma once

#include <cstddef>

namespace zentlib
{
constexpr size_t g_waveformCount = 256;

// Display names of the 256 waveforms, indexed by the internal wave number 0..255. Each text starts
// with the three-digit panel number (internal number + 1), as the hardware shows it.
extern const char* const g_waveformNames[g_waveformCount];
}
