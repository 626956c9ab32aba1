#pragma once

#include <Foundation/Foundation.h>

#include <string>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

// An image a view hierarchy draws into: 32-bit pixels with premultiplied alpha, the blue byte first in memory on
// this little-endian machine (cairo's ARGB32).
class COCOA_EXPORT NSBitmapImageRep : public NSObject
{
public:
	NSBitmapImageRep* initWithSize(NSInteger pixelsWide, NSInteger pixelsHigh);
	NSInteger pixelsWide() const;
	NSInteger pixelsHigh() const;
	// Straight (not premultiplied) red, green, blue and alpha of one pixel, 0..255 each; 0 outside the image.
	void getPixel(NSInteger x, NSInteger y, unsigned char rgba[4]) const;
	bool writePNG(const std::string& path) const;
	cairo_surface_t* surface() const { return m_surface; }

protected:
	void dealloc() override;

private:
	cairo_surface_t* m_surface = nullptr;
};

// The drawing destination of the view being drawn; graphicsPort is its cairo context, with the view's origin at
// (0, 0) and clipped to the view.
class COCOA_EXPORT NSGraphicsContext
{
public:
	static NSGraphicsContext* currentContext();
	cairo_t* graphicsPort() const { return m_cairo; }

	// Makes cr current on this thread for as long as the scope lives.
	class Scope
	{
	public:
		explicit Scope(cairo_t* cr);
		~Scope();
		Scope(const Scope&) = delete;
		Scope& operator=(const Scope&) = delete;

	private:
		NSGraphicsContext* m_previous;
	};

private:
	explicit NSGraphicsContext(cairo_t* cr) : m_cairo(cr) {}
	cairo_t* m_cairo;
};
