#include "vstgui/lib/platform/nsviewframe.h"

#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/platform/x11frame.h"

#include <AppKit/AppKit.h>

#include <cairo/cairo.h>

namespace VSTGUI
{
IPlatformFrame* createNSViewPlatformFrame (IPlatformFrameCallback* frame, const CRect& size, void* parent)
{
	return NSViewPlatformFrame::create (frame, size, parent);
}

namespace
{
NSRect toNSRect (const CRect& r)
{
	return NSMakeRect (r.left, r.top, r.getWidth (), r.getHeight ());
}

int32_t modifiersOf (NSUInteger flags)
{
	int32_t result = 0;
	if (flags & NSEventModifierFlagShift)
		result |= kShift;
	if (flags & NSEventModifierFlagCommand)
		result |= kControl;
	if (flags & NSEventModifierFlagOption)
		result |= kAlt;
	if (flags & NSEventModifierFlagControl)
		result |= kApple;
	return result;
}

VstKeyCode keyCodeOf (NSEvent* event)
{
	VstKeyCode key;
	const NSUInteger flags = event->modifierFlags ();
	if (flags & NSEventModifierFlagShift)
		key.modifier |= MODIFIER_SHIFT;
	if (flags & NSEventModifierFlagCommand)
		key.modifier |= MODIFIER_COMMAND;
	if (flags & NSEventModifierFlagOption)
		key.modifier |= MODIFIER_ALTERNATE;
	if (flags & NSEventModifierFlagControl)
		key.modifier |= MODIFIER_CONTROL;
	const uint32_t c = event->character ();
	switch (c)
	{
		case NSCarriageReturnCharacter: key.virt = VKEY_RETURN; return key;
		case NSEnterCharacter: key.virt = VKEY_ENTER; return key;
		case 0x1B: key.virt = VKEY_ESCAPE; return key;
		case NSDeleteCharacter:
		case NSBackspaceCharacter: key.virt = VKEY_BACK; return key;
		case NSTabCharacter: key.virt = VKEY_TAB; return key;
		case NSLeftArrowFunctionKey: key.virt = VKEY_LEFT; return key;
		case NSRightArrowFunctionKey: key.virt = VKEY_RIGHT; return key;
		case NSUpArrowFunctionKey: key.virt = VKEY_UP; return key;
		case NSDownArrowFunctionKey: key.virt = VKEY_DOWN; return key;
		case NSHomeFunctionKey: key.virt = VKEY_HOME; return key;
		case NSEndFunctionKey: key.virt = VKEY_END; return key;
		case NSPageUpFunctionKey: key.virt = VKEY_PAGEUP; return key;
		case NSPageDownFunctionKey: key.virt = VKEY_PAGEDOWN; return key;
		case NSDeleteFunctionKey: key.virt = VKEY_DELETE; return key;
		case ' ':
			key.virt = VKEY_SPACE;
			key.character = ' ';
			return key;
		default: key.character = static_cast<int32_t> (c); return key;
	}
}
} // namespace

// The frame's own subview: it draws the frame and turns the view's events into the frame's.
class NSViewPlatformFrame::ContentView : public NSView
{
public:
	NSViewPlatformFrame* owner {nullptr};

	void drawRect (NSRect) override
	{
		if (owner)
			owner->drawInto (NSGraphicsContext::currentContext ()->graphicsPort ());
	}
	void viewDidMoveToWindow () override
	{
		if (owner)
			owner->windowChanged ();
	}
	BOOL acceptsFirstResponder () const override { return YES; }

	void mouseDown (NSEvent* e) override { press (e, kLButton); }
	void rightMouseDown (NSEvent* e) override { press (e, kRButton); }
	void mouseDragged (NSEvent* e) override
	{
		if (auto* f = callback ())
		{
			CPoint p = where (e);
			f->platformOnMouseMoved (p, CButtonState (heldButton | modifiersOf (e->modifierFlags ())));
		}
	}
	void mouseUp (NSEvent* e) override { releaseButton (e); }
	void rightMouseUp (NSEvent* e) override { releaseButton (e); }
	void mouseMoved (NSEvent* e) override
	{
		if (auto* f = callback ())
		{
			CPoint p = where (e);
			f->platformOnMouseMoved (p, CButtonState (modifiersOf (e->modifierFlags ())));
		}
	}
	void mouseExited (NSEvent* e) override
	{
		if (auto* f = callback ())
		{
			CPoint p = where (e);
			f->platformOnMouseExited (p, CButtonState (modifiersOf (e->modifierFlags ())));
		}
	}
	void scrollWheel (NSEvent* e) override
	{
		if (auto* f = callback ())
		{
			const float distance = static_cast<float> (e->scrollingDeltaY ());
			f->platformOnMouseWheel (where (e), kMouseWheelAxisY, distance,
			                         CButtonState (modifiersOf (e->modifierFlags ())));
		}
	}
	void keyDown (NSEvent* e) override
	{
		VstKeyCode key = keyCodeOf (e);
		if (auto* f = callback (); !f || !f->platformOnKeyDown (key))
			NSView::keyDown (e);
	}
	void keyUp (NSEvent* e) override
	{
		VstKeyCode key = keyCodeOf (e);
		if (auto* f = callback (); !f || !f->platformOnKeyUp (key))
			NSView::keyUp (e);
	}

private:
	IPlatformFrameCallback* callback () const { return owner ? owner->getCallback () : nullptr; }
	CPoint where (NSEvent* e) const
	{
		const NSPoint p = convertPointFromView (e->locationInWindow (), nullptr);
		return CPoint (p.x, p.y);
	}
	void press (NSEvent* e, int32_t button)
	{
		heldButton = button;
		if (auto* f = callback ())
		{
			CPoint p = where (e);
			int32_t state = button | modifiersOf (e->modifierFlags ());
			if (e->clickCount () == 2)
				state |= kDoubleClick;
			f->platformOnMouseDown (p, CButtonState (state));
		}
	}
	void releaseButton (NSEvent* e)
	{
		if (auto* f = callback ())
		{
			CPoint p = where (e);
			f->platformOnMouseUp (p, CButtonState (heldButton | modifiersOf (e->modifierFlags ())));
		}
		heldButton = 0;
	}

	int32_t heldButton {0};
};

NSViewPlatformFrame* NSViewPlatformFrame::create (IPlatformFrameCallback* frame, const CRect& size, void* parent)
{
	if (!NSView::isView (parent))
		return nullptr;
	return new NSViewPlatformFrame (frame, size, static_cast<NSView*> (static_cast<NSObject*> (parent)));
}

NSViewPlatformFrame::NSViewPlatformFrame (IPlatformFrameCallback* frame, const CRect& rect, NSView* parent)
: IPlatformFrame (frame)
{
	view = static_cast<ContentView*> (NSObject::alloc<ContentView> ()->initWithFrame (toNSRect (rect)));
	view->owner = this;
	setSize (rect);
	parent->addSubview (view);
}

NSViewPlatformFrame::~NSViewPlatformFrame () noexcept
{
	onFrameClosed ();
}

NSView* NSViewPlatformFrame::getView () const
{
	return view;
}

void NSViewPlatformFrame::onFrameClosed ()
{
	frame = nullptr;
	leaveScreen ();
	if (view)
	{
		view->owner = nullptr;
		view->removeFromSuperview ();
		view->release ();
		view = nullptr;
	}
}

void NSViewPlatformFrame::windowChanged ()
{
	NSWindow* window = view ? view->window () : nullptr;
	const long number = window ? window->windowNumber () : 0;
	if (number == onScreenWindow)
		return;
	leaveScreen ();
	if (number == 0 || frame == nullptr)
		return;
	onScreen = X11PlatformFrame::create (frame, size, static_cast<unsigned long> (number));
	if (onScreen)
		onScreenWindow = number;
}

void NSViewPlatformFrame::leaveScreen ()
{
	if (onScreen)
	{
		onScreen->onFrameClosed ();
		onScreen->forget ();
		onScreen = nullptr;
	}
	onScreenWindow = 0;
}

bool NSViewPlatformFrame::getGlobalPosition (CPoint& pos) const
{
	if (onScreen)
		return onScreen->getGlobalPosition (pos);
	pos = size.getTopLeft ();
	return true;
}

bool NSViewPlatformFrame::setSize (const CRect& newSize)
{
	size = newSize;
	backBuffer.resize (newSize);
	if (view)
		view->setFrame (toNSRect (newSize));
	if (onScreen)
		onScreen->setSize (newSize);
	return true;
}

bool NSViewPlatformFrame::getSize (CRect& r) const
{
	r = size;
	return true;
}

bool NSViewPlatformFrame::invalidRect (const CRect& rect)
{
	backBuffer.invalidate (rect);
	if (onScreen)
		onScreen->invalidRect (rect);
	return true;
}

bool NSViewPlatformFrame::showTooltip (const CRect& rect, const char* utf8Text)
{
	return onScreen ? onScreen->showTooltip (rect, utf8Text) : true;
}

bool NSViewPlatformFrame::hideTooltip ()
{
	return onScreen ? onScreen->hideTooltip () : true;
}

bool NSViewPlatformFrame::hasPopupWindows () const
{
	return onScreen && onScreen->hasPopupWindows ();
}

CRect NSViewPlatformFrame::getPopupArea () const
{
	return onScreen ? onScreen->getPopupArea () : IPlatformFrame::getPopupArea ();
}

IPlatformPopupWindow* NSViewPlatformFrame::openPopupWindow (const CRect& rect, PopupPainter paint)
{
	return onScreen ? onScreen->openPopupWindow (rect, std::move (paint)) : nullptr;
}

void NSViewPlatformFrame::readClipboardText (std::function<void (const std::string& text)> done)
{
	if (onScreen)
		onScreen->readClipboardText (std::move (done));
	else
		IPlatformFrame::readClipboardText (std::move (done));
}

void NSViewPlatformFrame::writeClipboardText (const std::string& text)
{
	if (onScreen)
		onScreen->writeClipboardText (text);
	else
		IPlatformFrame::writeClipboardText (text);
}

void NSViewPlatformFrame::drawInto (void* cairoContext)
{
	if (frame)
		backBuffer.draw ([this] (CDrawContext* context, const CRect& r) {
			context->clearRect (r);
			frame->platformDrawRect (context, r);
		});
	auto* cr = static_cast<cairo_t*> (cairoContext);
	cairo_set_source_surface (cr, backBuffer.getSurface (), 0, 0);
	cairo_paint (cr);
}
} // VSTGUI
