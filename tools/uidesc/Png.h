#pragma once

#include <cstdint>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace uidesc
{
// The surface (cairo ARGB32, premultiplied) as an 8-bit RGBA PNG file. The compression favours
// speed: the generator runs in every build.
std::vector<uint8_t> encodePng(cairo_surface_t* surface);
}
