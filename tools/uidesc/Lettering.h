#pragma once

#include <string>

typedef struct _cairo cairo_t;

// The panel's printed lettering: a chamfered stroke alphabet, so the art does not depend on the
// fonts installed where it is generated.
namespace uidesc
{
// Width of the text at the given cap height.
double letteringWidth(const std::string& text, double capHeight);
// Appends the strokes of the text, centred on (cx, cy), to the current path.
void letteringPath(cairo_t* cr, const std::string& text, double cx, double cy, double capHeight);
// Strokes the text in the current source with a weight proportional to the cap height.
void drawLettering(cairo_t* cr, const std::string& text, double cx, double cy, double capHeight, double weight = 0.19);
}
