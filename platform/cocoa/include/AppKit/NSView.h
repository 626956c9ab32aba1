#pragma once

#include <AppKit/NSEvent.h>
#include <AppKit/NSGraphicsContext.h>
#include <Foundation/Foundation.h>

#include <vector>

class NSWindow;

enum : NSUInteger
{
	NSViewNotSizable = 0,
	NSViewMinXMargin = 1,
	NSViewWidthSizable = 2,
	NSViewMaxXMargin = 4,
	NSViewMinYMargin = 8,
	NSViewHeightSizable = 16,
	NSViewMaxYMargin = 32
};

// Posted with the view as object after its frame changed, when the view was asked to post it.
extern COCOA_EXPORT const char* const NSViewFrameDidChangeNotification;

// A rectangle of a window that draws and takes input. Every view here is flipped: the origin of its coordinates
// is its top left corner and y grows downwards, as in the toolkit that draws into it.
class COCOA_EXPORT NSView : public NSObject
{
public:
	NSView();
	NSView* initWithFrame(NSRect frame);
	// Whether a pointer is a view that is alive: a frame may be opened inside a view or inside something else.
	static BOOL isView(const void* pointer);

	NSRect frame() const { return m_frame; }
	NSRect bounds() const { return NSMakeRect(0, 0, m_frame.size.width, m_frame.size.height); }
	virtual void setFrame(NSRect frame);
	void setPostsFrameChangedNotifications(BOOL posts) { m_postsFrameChanged = posts; }
	BOOL postsFrameChangedNotifications() const { return m_postsFrameChanged; }
	void setAutoresizingMask(NSUInteger mask) { m_autoresizingMask = mask; }
	NSUInteger autoresizingMask() const { return m_autoresizingMask; }
	BOOL isFlipped() const { return YES; }

	// The superview holds a reference to each subview.
	void addSubview(NSView* view);
	void removeFromSuperview();
	NSView* superview() const { return m_superview; }
	const std::vector<NSView*>& subviews() const { return m_subviews; }
	NSWindow* window() const { return m_window; }
	// Called on the view and all its subviews when the window they are shown in changes.
	virtual void viewDidMoveToWindow() {}

	// The deepest view under a point of the superview's coordinates, or nil.
	virtual NSView* hitTest(NSPoint point);
	// A point of the window's coordinates (from nil) or of another view's, in this view's coordinates.
	NSPoint convertPointFromView(NSPoint point, NSView* from) const;

	// Input; what a view does not handle goes to its superview, as to the next responder.
	virtual void mouseDown(NSEvent* event);
	virtual void mouseDragged(NSEvent* event);
	virtual void mouseUp(NSEvent* event);
	virtual void rightMouseDown(NSEvent* event);
	virtual void rightMouseUp(NSEvent* event);
	virtual void mouseMoved(NSEvent* event);
	virtual void mouseExited(NSEvent* event);
	virtual void scrollWheel(NSEvent* event);
	virtual void keyDown(NSEvent* event);
	virtual void keyUp(NSEvent* event);
	virtual BOOL acceptsFirstResponder() const { return NO; }

	// Draws the view's own content into the current graphics context.
	virtual void drawRect(NSRect dirtyRect);
	// An image the size of rect, for cacheDisplayInRect; the caller releases it.
	NSBitmapImageRep* bitmapImageRepForCachingDisplayInRect(NSRect rect);
	// Draws rect of this view and its subviews, back to front, into the image.
	void cacheDisplayInRect(NSRect rect, NSBitmapImageRep* rep);

protected:
	void dealloc() override;

private:
	friend class NSWindow;
	void setWindow(NSWindow* window);
	void displayInto(cairo_t* cr);

	NSRect m_frame;
	BOOL m_postsFrameChanged = NO;
	NSUInteger m_autoresizingMask = NSViewNotSizable;
	NSView* m_superview = nullptr;
	NSWindow* m_window = nullptr;
	std::vector<NSView*> m_subviews;
};
