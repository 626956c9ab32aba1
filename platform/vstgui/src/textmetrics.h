#pragma once

#include "vstgui/lib/cfont.h"

#include <string>

namespace VSTGUI::Detail
{
// How far text in this font advances, measured as a draw context would draw it, outside any
// drawing. At a `scale` other than 1 the advance is the one of the text drawn that many times
// larger, given back in unscaled units: glyphs advance by whole pixels of the scaled drawing, so
// the two differ.
CCoord stringWidth (const CFontDesc& font, const std::string& text, double scale = 1.);
}
