#pragma once

#include "vstguibase.h"

#include <cstdint>
#include <string>

namespace VSTGUI
{
struct CColor
{
	constexpr CColor () = default;
	constexpr CColor (uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 255)
	: red (red), green (green), blue (blue), alpha (alpha)
	{
	}

	constexpr bool operator== (const CColor& c) const
	{
		return red == c.red && green == c.green && blue == c.blue && alpha == c.alpha;
	}
	constexpr bool operator!= (const CColor& c) const { return !(*this == c); }

	// Accepts only "#RRGGBBAA".
	bool fromString (UTF8StringPtr str);
	std::string toString () const;

	double normRed () const { return red / 255.; }
	double normGreen () const { return green / 255.; }
	double normBlue () const { return blue / 255.; }
	double normAlpha () const { return alpha / 255.; }

	uint8_t red {255};
	uint8_t green {255};
	uint8_t blue {255};
	uint8_t alpha {255};
};

inline constexpr CColor MakeCColor (uint8_t red = 0, uint8_t green = 0, uint8_t blue = 0, uint8_t alpha = 255)
{
	return CColor (red, green, blue, alpha);
}

inline constexpr CColor kTransparentCColor = CColor (255, 255, 255, 0);
inline constexpr CColor kBlackCColor = CColor (0, 0, 0, 255);
inline constexpr CColor kWhiteCColor = CColor (255, 255, 255, 255);
inline constexpr CColor kGreyCColor = CColor (127, 127, 127, 255);
inline constexpr CColor kRedCColor = CColor (255, 0, 0, 255);
inline constexpr CColor kGreenCColor = CColor (0, 255, 0, 255);
inline constexpr CColor kBlueCColor = CColor (0, 0, 255, 255);
inline constexpr CColor kYellowCColor = CColor (255, 255, 0, 255);
inline constexpr CColor kCyanCColor = CColor (0, 255, 255, 255);
inline constexpr CColor kMagentaCColor = CColor (255, 0, 255, 255);
} // VSTGUI
