#pragma once

#include "vstguibase.h"

#include <cmath>

namespace VSTGUI
{
struct CPoint
{
	constexpr CPoint () = default;
	constexpr CPoint (CCoord x, CCoord y) : x (x), y (y) {}

	CPoint& operator() (CCoord _x, CCoord _y)
	{
		x = _x;
		y = _y;
		return *this;
	}

	bool operator== (const CPoint& other) const { return x == other.x && y == other.y; }
	bool operator!= (const CPoint& other) const { return !(*this == other); }

	CPoint& operator+= (const CPoint& other)
	{
		x += other.x;
		y += other.y;
		return *this;
	}
	CPoint& operator-= (const CPoint& other)
	{
		x -= other.x;
		y -= other.y;
		return *this;
	}
	CPoint& operator*= (double factor)
	{
		x *= factor;
		y *= factor;
		return *this;
	}
	CPoint& operator/= (double factor)
	{
		x /= factor;
		y /= factor;
		return *this;
	}
	CPoint operator+ (const CPoint& other) const { return CPoint (x + other.x, y + other.y); }
	CPoint operator- (const CPoint& other) const { return CPoint (x - other.x, y - other.y); }
	CPoint operator* (double factor) const { return CPoint (x * factor, y * factor); }
	CPoint operator/ (double factor) const { return CPoint (x / factor, y / factor); }
	CPoint operator- () const { return CPoint (-x, -y); }

	CPoint& offset (const CCoord c) { return offset (c, c); }
	CPoint& offset (const CCoord _x, const CCoord _y)
	{
		x += _x;
		y += _y;
		return *this;
	}
	CPoint& offset (const CPoint& other) { return offset (other.x, other.y); }
	CPoint& offsetInverse (const CPoint& other) { return offset (-other.x, -other.y); }

	CPoint& makeIntegral ()
	{
		x = std::floor (x + 0.5);
		y = std::floor (y + 0.5);
		return *this;
	}

	CCoord x {0.};
	CCoord y {0.};
};
} // VSTGUI
