#pragma once

#include "ccolor.h"
#include "vstguifwd.h"

#include <map>

namespace VSTGUI
{
class CGradient : public AtomicReferenceCounted
{
public:
	using ColorStopMap = std::multimap<double, CColor>;

	static CGradient* create (const ColorStopMap& colorStopMap);
	static CGradient* create (double color1Start, double color2Start, const CColor& color1, const CColor& color2);

	virtual void addColorStop (double start, const CColor& color) { colorStops.emplace (start, color); }
	void addColorStop (const std::pair<double, CColor>& colorStop) { addColorStop (colorStop.first, colorStop.second); }
	const ColorStopMap& getColorStops () const { return colorStops; }

protected:
	explicit CGradient (const ColorStopMap& map) : colorStops (map) {}

private:
	ColorStopMap colorStops;
};
} // VSTGUI
