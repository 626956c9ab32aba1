#pragma once

#include "WaveAnalysis.h"

// The embedded wave ROM, parsed once for all tests.
const waverom::RomView& romImage();
