#pragma once

#include "Layout.h"

#include <cstdint>
#include <string>
#include <vector>

namespace uidesc
{
struct EncodedBitmap
{
	std::string name;
	std::vector<uint8_t> png;
};

// The whole description file: byte-order mark, declaration, bitmaps, fonts and the template.
std::string writeDescription(const View& root, const std::vector<EncodedBitmap>& bitmaps);

// A coordinate as the description writes it: the shortest of up to four decimals.
std::string formatNumber(double v);
// An attribute value with '&', '<', '>' and '"' written as character entities.
std::string escapeAttribute(const std::string& text);
}
