#pragma once

#include <AppKit/NSView.h>

// A window that holds one content view and routes input to its views. The window server here is whatever the
// host draws windows with: windowNumber is that window's native id (an X11 window), 0 for a window that is never
// shown on a screen.
class COCOA_EXPORT NSWindow : public NSObject
{
public:
	NSWindow* initWithContentRect(NSRect contentRect);

	// The window holds a reference to its content view; the view's frame becomes the content rectangle.
	void setContentView(NSView* view);
	NSView* contentView() const { return m_contentView; }
	NSRect contentRect() const { return m_contentRect; }
	NSInteger windowNumber() const { return m_windowNumber; }
	void setWindowNumber(NSInteger number) { m_windowNumber = number; }

	// A mouse press goes to the view under it, which keeps the following drags and the release; keys go to the
	// first responder (the last pressed view that accepts it).
	void sendEvent(NSEvent* event);
	NSView* firstResponder() const { return m_firstResponder; }
	BOOL makeFirstResponder(NSView* view);

protected:
	void dealloc() override;

private:
	friend class NSView;
	// A view leaving the window is no longer a target of its input.
	void forget(NSView* view);
	NSView* viewUnder(NSPoint location) const;

	NSRect m_contentRect;
	NSView* m_contentView = nullptr;
	NSView* m_mouseTarget = nullptr;
	NSView* m_firstResponder = nullptr;
	NSInteger m_windowNumber = 0;
};
