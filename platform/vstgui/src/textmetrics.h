#pragma once

#include "vstgui/lib/cfont.h"

#include <string>

namespace VSTGUI::Detail
{
// How far text in this font advances, measured as a draw context would draw it, outside any
// drawing.
CCoord stringWidth (const CFontDesc& font, const std::string& text);
}
