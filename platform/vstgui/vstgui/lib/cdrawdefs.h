#pragma once

#include "vstguibase.h"

#include <cstdint>
#include <vector>

namespace VSTGUI
{
enum CDrawModeFlags : uint32_t
{
	kAliasing = 0,
	kAntiAliasing = 1,
	kNonIntegralMode = 0xF0000000
};

struct CDrawMode
{
	constexpr CDrawMode (uint32_t mode = kAliasing) : mode (mode) {}
	constexpr uint32_t modeIgnoringIntegralMode () const { return mode & ~kNonIntegralMode; }
	constexpr bool integralMode () const { return (mode & kNonIntegralMode) == 0; }
	constexpr bool antiAliasing () const { return (mode & kAntiAliasing) != 0; }
	constexpr uint32_t operator() () const { return mode; }
	constexpr bool operator== (const CDrawMode& m) const { return mode == m.mode; }
	constexpr bool operator!= (const CDrawMode& m) const { return mode != m.mode; }

private:
	uint32_t mode;
};

enum CHoriTxtAlign
{
	kLeftText = 0,
	kCenterText,
	kRightText
};

enum CDrawStyle
{
	kDrawStroked = 0,
	kDrawFilled,
	kDrawFilledAndStroked
};

enum CTxtFace
{
	kNormalFace = 0,
	kBoldFace = 1 << 1,
	kItalicFace = 1 << 2,
	kUnderlineFace = 1 << 3,
	kStrikethroughFace = 1 << 4
};

struct CLineStyle
{
	enum LineCap
	{
		kLineCapButt = 0,
		kLineCapRound,
		kLineCapSquare
	};
	enum LineJoin
	{
		kLineJoinMiter = 0,
		kLineJoinRound,
		kLineJoinBevel
	};
	using CoordVector = std::vector<double>;

	CLineStyle (LineCap cap = kLineCapButt, LineJoin join = kLineJoinMiter, double dashPhase = 0.,
	            const CoordVector& dashLengths = {})
	: cap (cap), join (join), dashPhase (dashPhase), dashLengths (dashLengths)
	{
	}

	LineCap getLineCap () const { return cap; }
	LineJoin getLineJoin () const { return join; }
	double getDashPhase () const { return dashPhase; }
	const CoordVector& getDashLengths () const { return dashLengths; }
	bool operator== (const CLineStyle& o) const
	{
		return cap == o.cap && join == o.join && dashPhase == o.dashPhase && dashLengths == o.dashLengths;
	}

private:
	LineCap cap;
	LineJoin join;
	double dashPhase;
	CoordVector dashLengths;
};

extern const CLineStyle kLineSolid;
extern const CLineStyle kLineOnOffDash;
} // VSTGUI
