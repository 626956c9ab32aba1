#pragma once

namespace VSTGUI::Detail
{
// Call before the first use of fonts: their process-wide caches are then released at exit.
void holdFontCaches ();
}
