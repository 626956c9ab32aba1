#pragma once

typedef double CGFloat;

struct NSPoint
{
	CGFloat x = 0;
	CGFloat y = 0;
};

struct NSSize
{
	CGFloat width = 0;
	CGFloat height = 0;
};

struct NSRect
{
	NSPoint origin;
	NSSize size;
};

inline NSPoint NSMakePoint(CGFloat x, CGFloat y)
{
	return NSPoint{x, y};
}
inline NSSize NSMakeSize(CGFloat w, CGFloat h)
{
	return NSSize{w, h};
}
inline NSRect NSMakeRect(CGFloat x, CGFloat y, CGFloat w, CGFloat h)
{
	return NSRect{{x, y}, {w, h}};
}
inline bool NSPointInRect(NSPoint p, NSRect r)
{
	return p.x >= r.origin.x && p.y >= r.origin.y && p.x < r.origin.x + r.size.width &&
		p.y < r.origin.y + r.size.height;
}
inline bool NSEqualRects(NSRect a, NSRect b)
{
	return a.origin.x == b.origin.x && a.origin.y == b.origin.y && a.size.width == b.size.width &&
		a.size.height == b.size.height;
}
