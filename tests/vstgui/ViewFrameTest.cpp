// A frame opened inside a host's view, as a plug-in editor opens in the view a host shows.

#include "vstgui/vstgui.h"

#include <Cocoa/Cocoa.h>

#include "vstgui/lib/platform/optionmenupopup.h"

#include <gtest/gtest.h>

// After the test framework: Xlib's macros would break its templates.
#include "PrivateXServer.h"

using namespace VSTGUI;

namespace
{
// A red square that notes where it is pressed and which keys reach it.
class Pad : public CView
{
public:
	explicit Pad (const CRect& r) : CView (r) {}
	void draw (CDrawContext* context) override
	{
		context->setFillColor (kRedCColor);
		context->drawRect (getViewSize (), kDrawFilled);
	}
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override
	{
		pressedAt = where;
		pressedButtons = buttons.getButtonState ();
		return kMouseEventHandled;
	}
	int32_t onKeyDown (VstKeyCode& key) override
	{
		lastKey = key.virt;
		return 1;
	}
	CPoint pressedAt {-1, -1};
	int32_t pressedButtons {0};
	unsigned char lastKey {0};
};

void pixel (NSView* view, int x, int y, unsigned char rgba[4])
{
	NSBitmapImageRep* image = view->bitmapImageRepForCachingDisplayInRect (view->bounds ());
	view->cacheDisplayInRect (view->bounds (), image);
	image->getPixel (x, y, rgba);
	image->release ();
}
} // namespace

TEST (ViewFrame, LivesInTheHostViewDrawsWithItAndTakesItsInput)
{
	NSAutoreleasePool pool;
	NSWindow* window = NSObject::alloc<NSWindow> ()->initWithContentRect (NSMakeRect (0, 0, 300, 200));
	NSView* host = NSObject::alloc<NSView> ()->initWithFrame (NSMakeRect (0, 0, 300, 200));
	window->setContentView (host);

	auto* frame = new CFrame (CRect (0, 0, 200, 100), nullptr);
	auto* pad = new Pad (CRect (50, 20, 100, 60));
	frame->addView (pad);
	ASSERT_TRUE (frame->open (host, PlatformType::kDefaultNative));
	EXPECT_EQ (frame->getPlatformFrame ()->getPlatformType (), PlatformType::kNSView);
	ASSERT_EQ (host->subviews ().size (), 1u);
	NSView* inner = host->subviews ()[0];
	EXPECT_EQ (inner->frame ().size.width, 200);

	unsigned char rgba[4];
	pixel (host, 60, 30, rgba);
	EXPECT_EQ (rgba[0], 255);
	EXPECT_EQ (rgba[1], 0);
	pixel (host, 40, 30, rgba);
	EXPECT_NE (rgba[0], 255);

	window->sendEvent (NSEvent::mouseEventWithType (NSEventTypeLeftMouseDown, NSMakePoint (70, 40), 0, 2));
	window->sendEvent (NSEvent::mouseEventWithType (NSEventTypeLeftMouseUp, NSMakePoint (70, 40), 0, 0));
	EXPECT_EQ (pad->pressedAt, CPoint (70, 40));
	EXPECT_EQ (pad->pressedButtons, kLButton);
	frame->setFocusView (pad);
	window->sendEvent (NSEvent::keyEventWithType (NSEventTypeKeyDown, NSLeftArrowFunctionKey, 0));
	EXPECT_EQ (pad->lastKey, VKEY_LEFT);

	frame->setSize (300, 150);
	EXPECT_EQ (inner->frame ().size.width, 300);
	EXPECT_EQ (inner->frame ().size.height, 150);

	frame->close ();
	EXPECT_TRUE (host->subviews ().empty ());
	host->release ();
	window->release ();
}

// Shown on an X server, the view's frame gives popups windows of their own on the screen and uses
// the desktop clipboard, as a frame opened straight into an X11 window does.
TEST (ViewFrame, OnScreenPopupsAndTheClipboardAreTheDesktops)
{
	static PrivateXServer server;
	if (server.display == nullptr)
		GTEST_SKIP () << "Xvfb is not available";
	const Window native = XCreateSimpleWindow (server.display, DefaultRootWindow (server.display), 0, 0, 300, 200, 0, 0, 0);
	XMapWindow (server.display, native);
	XSync (server.display, False);
	NSAutoreleasePool pool;
	NSWindow* window = NSObject::alloc<NSWindow> ()->initWithContentRect (NSMakeRect (0, 0, 300, 200));
	window->setWindowNumber (static_cast<NSInteger> (native));
	NSView* host = NSObject::alloc<NSView> ()->initWithFrame (NSMakeRect (0, 0, 300, 200));
	window->setContentView (host);

	auto* frame = new CFrame (CRect (0, 0, 200, 100), nullptr);
	auto* menu = new COptionMenu (CRect (10, 10, 110, 30), nullptr, -1);
	for (int i = 0; i < 30; ++i)
		menu->addEntry ("entry");
	frame->addView (menu);
	ASSERT_TRUE (frame->open (host, PlatformType::kDefaultNative));
	IPlatformFrame* platform = frame->getPlatformFrame ();
	ASSERT_TRUE (platform->hasPopupWindows ());
	EXPECT_EQ (platform->getPopupArea ().getHeight (), 480);

	window->sendEvent (NSEvent::mouseEventWithType (NSEventTypeLeftMouseDown, NSMakePoint (50, 20), 0, 1));
	window->sendEvent (NSEvent::mouseEventWithType (NSEventTypeLeftMouseUp, NSMakePoint (50, 20), 0, 0));
	auto* popup = OptionMenuPopup::get (frame);
	ASSERT_NE (popup, nullptr);
	// 30 entries stand 662 pixels tall: past the 100-pixel frame, cut to the screen.
	EXPECT_EQ (popup->getLevelRect (0).getHeight (), 480);
	frame->setModalView (nullptr);

	platform->writeClipboardText ("copied");
	EXPECT_NE (XGetSelectionOwner (server.display, XInternAtom (server.display, "CLIPBOARD", False)), None);

	frame->close ();
	host->release ();
	window->release ();
	XDestroyWindow (server.display, native);
}
