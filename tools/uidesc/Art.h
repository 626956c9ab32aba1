#pragma once

#include "Layout.h"

#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace uidesc
{
// Draws the bitmap of the given name at its listed size. The caller destroys the surface.
cairo_surface_t* drawBitmap(const Panel& panel, const BitmapSpec& spec);
}
