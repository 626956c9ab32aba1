#pragma once

#include <string>

namespace VSTGUI::Detail
{
// Call before the first use of fonts: their process-wide caches are then released at exit.
void holdFontCaches ();

// Whether a font of exactly this family is installed (no substitution, as a font list shows it).
bool fontFamilyInstalled (const std::string& family);
} // VSTGUI::Detail
