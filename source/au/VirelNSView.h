#pragma once

#include <AppKit/AppKit.h>
#include <CoreFoundation/CoreFoundation.h>

class auEditor;

// The view a host shows: it opens the instance's editor window inside itself, keeps the window at its own size
// and the host's view at the window's, and idles the window every 50 ms.
class VirelNSView : public NSView
{
public:
	// Nil when the view cannot be made.
	VirelNSView* initWithVirel(auEditor* owner, NSSize preferredSize);
	void setFrame(NSRect frame) override;
	void doIdle();
	// The owner went before the view: from now on the view has nothing to show, size or idle.
	void ownerGone();

protected:
	void dealloc() override;

private:
	auEditor* editController = nullptr;
	CFRunLoopTimerRef idleTimer = nullptr;
};

void timerCallback(CFRunLoopTimerRef timer, void* info);
