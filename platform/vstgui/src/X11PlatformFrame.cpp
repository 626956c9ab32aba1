#include "vstgui/lib/platform/x11frame.h"

#include "vstgui/lib/cdrawcontext.h"

#include "x11clipboard.h"
#include "x11dialoghost.h"
#include "x11popupwindow.h"

#include <CoreFoundation/CoreFoundation.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo/cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace VSTGUI
{
IPlatformFrame* createX11PlatformFrame (IPlatformFrameCallback* frame, const CRect& size, void* parent)
{
	return X11PlatformFrame::create (frame, size, static_cast<unsigned long> (reinterpret_cast<uintptr_t> (parent)));
}

namespace
{
constexpr unsigned long kDoubleClickTime = 400;
constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                            KeyReleaseMask | LeaveWindowMask | StructureNotifyMask | FocusChangeMask;

int ignoreErrors (Display*, XErrorEvent*)
{
	return 0;
}

int32_t modifiers (unsigned int state)
{
	int32_t result = 0;
	if (state & ShiftMask)
		result |= kShift;
	if (state & ControlMask)
		result |= kControl;
	if (state & Mod1Mask)
		result |= kAlt;
	return result;
}

int32_t heldButtons (unsigned int state)
{
	int32_t result = 0;
	if (state & Button1Mask)
		result |= kLButton;
	if (state & Button2Mask)
		result |= kMButton;
	if (state & Button3Mask)
		result |= kRButton;
	return result;
}

int32_t buttonBit (unsigned int button)
{
	switch (button)
	{
		case Button1:
			return kLButton;
		case Button2:
			return kMButton;
		case Button3:
			return kRButton;
		case 8:
			return kButton4;
		case 9:
			return kButton5;
	}
	return 0;
}

VstKeyCode keyCodeOf (XKeyEvent& event)
{
	char text[16] = {0};
	KeySym keysym = 0;
	XLookupString (&event, text, sizeof (text) - 1, &keysym, nullptr);
	VstKeyCode key;
	if (event.state & ShiftMask)
		key.modifier |= MODIFIER_SHIFT;
	if (event.state & ControlMask)
		key.modifier |= MODIFIER_COMMAND;
	if (event.state & Mod1Mask)
		key.modifier |= MODIFIER_ALTERNATE;
	switch (keysym)
	{
		case XK_Return: key.virt = VKEY_RETURN; return key;
		case XK_KP_Enter: key.virt = VKEY_ENTER; return key;
		case XK_Escape: key.virt = VKEY_ESCAPE; return key;
		case XK_BackSpace: key.virt = VKEY_BACK; return key;
		case XK_Tab: key.virt = VKEY_TAB; return key;
		case XK_Left: key.virt = VKEY_LEFT; return key;
		case XK_Right: key.virt = VKEY_RIGHT; return key;
		case XK_Up: key.virt = VKEY_UP; return key;
		case XK_Down: key.virt = VKEY_DOWN; return key;
		case XK_Home: key.virt = VKEY_HOME; return key;
		case XK_End: key.virt = VKEY_END; return key;
		case XK_Page_Up: key.virt = VKEY_PAGEUP; return key;
		case XK_Page_Down: key.virt = VKEY_PAGEDOWN; return key;
		case XK_Delete: key.virt = VKEY_DELETE; return key;
		case XK_space:
			key.virt = VKEY_SPACE;
			key.character = ' ';
			return key;
		default:
			break;
	}
	if (keysym >= 0x20 && keysym < 0x100)
		key.character = static_cast<int32_t> (keysym);
	else if ((keysym & 0xFF000000) == 0x01000000)
		key.character = static_cast<int32_t> (keysym & 0x00FFFFFF);
	return key;
}

void onPumpTimer (CFRunLoopTimerRef, void* info)
{
	static_cast<X11PlatformFrame*> (info)->processEvents ();
}
}

X11PlatformFrame* X11PlatformFrame::create (IPlatformFrameCallback* frame, const CRect& size, unsigned long parentWindow)
{
	Display* display = XOpenDisplay (nullptr);
	if (display == nullptr)
		return nullptr;
	// A parent id that names no window must fail the open, not end the program.
	auto previous = XSetErrorHandler (ignoreErrors);
	XWindowAttributes attributes;
	Status known = parentWindow ? XGetWindowAttributes (display, parentWindow, &attributes) : 0;
	XSync (display, False);
	XSetErrorHandler (previous);
	if (!known)
	{
		XCloseDisplay (display);
		return nullptr;
	}
	const unsigned int w = static_cast<unsigned int> (std::max (1., std::ceil (size.getWidth ())));
	const unsigned int h = static_cast<unsigned int> (std::max (1., std::ceil (size.getHeight ())));
	Window window = XCreateSimpleWindow (display, parentWindow, 0, 0, w, h, 0, 0, 0);
	XSelectInput (display, window, kEventMask);
	XMapWindow (display, window);
	// Wait until the server has made the window: the host and its other connections may address it
	// as soon as open returns.
	XSync (display, False);
	return new X11PlatformFrame (frame, display, window, size);
}

X11PlatformFrame::X11PlatformFrame (IPlatformFrameCallback* frame, Display* display, unsigned long window, const CRect& rect)
: IPlatformFrame (frame), display (display), window (window), clipboard (std::make_unique<X11Clipboard> (display, window))
{
	setSize (rect);
	CFRunLoopTimerContext context {0, this, nullptr, nullptr, nullptr};
	pump = CFRunLoopTimerCreate (kCFAllocatorDefault, CFAbsoluteTimeGetCurrent () + 0.01, 0.01, 0, 0, onPumpTimer, &context);
	if (pump)
		CFRunLoopAddTimer (CFRunLoopGetCurrent (), pump, kCFRunLoopCommonModes);
	X11DialogHost::add (this);
}

X11PlatformFrame::~X11PlatformFrame () noexcept
{
	onFrameClosed ();
	XDestroyWindow (display, window);
	XCloseDisplay (display);
}

void X11PlatformFrame::onFrameClosed ()
{
	frame = nullptr;
	X11DialogHost::remove (this);
	if (pump)
	{
		CFRunLoopTimerInvalidate (pump);
		CFRelease (pump);
		pump = nullptr;
	}
}

bool X11PlatformFrame::getGlobalPosition (CPoint& pos) const
{
	Window child;
	int x = 0, y = 0;
	XTranslateCoordinates (display, window, DefaultRootWindow (display), 0, 0, &x, &y, &child);
	pos = CPoint (x, y);
	return true;
}

bool X11PlatformFrame::setSize (const CRect& newSize)
{
	size = newSize;
	backBuffer.resize (newSize);
	XResizeWindow (display, window, static_cast<unsigned int> (backBuffer.getWidth ()),
	               static_cast<unsigned int> (backBuffer.getHeight ()));
	XFlush (display);
	return true;
}

bool X11PlatformFrame::getSize (CRect& r) const
{
	r = size;
	return true;
}

bool X11PlatformFrame::invalidRect (const CRect& rect)
{
	backBuffer.invalidate (rect);
	return true;
}

CRect X11PlatformFrame::tooltipArea () const
{
	CRect r (tooltipRect.left, tooltipRect.bottom + 2, tooltipRect.left + 12 + 7. * tooltipText.size (), tooltipRect.bottom + 22);
	if (r.right > size.getWidth ())
		r.offset (size.getWidth () - r.right, 0);
	if (r.bottom > size.getHeight ())
		r.offset (0, tooltipRect.top - 24 - r.top);
	return r;
}

bool X11PlatformFrame::showTooltip (const CRect& rect, const char* utf8Text)
{
	hideTooltip ();
	tooltipText = utf8Text ? utf8Text : "";
	tooltipRect = rect;
	tooltipVisible = true;
	invalidRect (tooltipArea ());
	return true;
}

bool X11PlatformFrame::hideTooltip ()
{
	if (tooltipVisible)
		invalidRect (tooltipArea ());
	tooltipVisible = false;
	return true;
}

void X11PlatformFrame::processEvents ()
{
	std::vector<XEvent> kept;
	kept.swap (heldBack);
	for (XEvent& event : kept)
		dispatch (event);
	pumpEvents (false);
}

void X11PlatformFrame::processEventsWhileDialogOpen ()
{
	pumpEvents (true);
}

void X11PlatformFrame::pumpEvents (bool dialogOpen)
{
	while (frame && XPending (display))
	{
		XEvent event;
		XNextEvent (display, &event);
		// Other programs asking for the clipboard are answered whenever they ask.
		const bool selection = event.type == SelectionRequest || event.type == SelectionClear;
		if (!dialogOpen || event.type == Expose || (selection && event.xany.window == window))
			dispatch (event);
		else if (endsEarlierInput (event))
			heldBack.push_back (event);
	}
	redraw ();
	for (auto* popup : std::vector<X11PopupWindow*> (popups))
		popup->redraw ();
}

bool X11PlatformFrame::endsEarlierInput (const XEvent& event) const
{
	switch (event.type)
	{
		case ButtonRelease:
			return (pressedButtons & buttonBit (event.xbutton.button)) != 0;
		case FocusIn:
		case FocusOut:
		case SelectionNotify:
			return event.xany.window == window;
		default:
			return false;
	}
}

void X11PlatformFrame::dispatch (XEvent& event)
{
	X11PlatformFrame* before = X11DialogHost::setHandlingInput (this);
	if (event.xany.window == window)
	{
		if (!clipboard->handleEvent (event))
			handleEvent (&event, CPoint ());
	}
	else
	{
		for (auto* popup : popups)
		{
			if (event.xany.window != popup->getWindow ())
				continue;
			if (event.type == Expose)
				popup->invalidRect (CRect (event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
				                           event.xexpose.y + event.xexpose.height)
				                        .offset (popup->getOrigin ()));
			else
				handleEvent (&event, popup->getOrigin ());
			break;
		}
	}
	X11DialogHost::setHandlingInput (before);
}

unsigned long X11PlatformFrame::getTopLevelWindow () const
{
	// The nearest window a window manager manages (it carries WM_STATE), else the last one below the root.
	const Atom wmState = XInternAtom (display, "WM_STATE", True);
	Window current = window;
	for (;;)
	{
		if (wmState != None)
		{
			Atom type = None;
			int format = 0;
			unsigned long count = 0, after = 0;
			unsigned char* data = nullptr;
			XGetWindowProperty (display, current, wmState, 0, 0, False, AnyPropertyType, &type, &format, &count,
			                    &after, &data);
			if (data)
				XFree (data);
			if (type != None)
				return current;
		}
		Window root = 0, parent = 0;
		Window* children = nullptr;
		unsigned int childCount = 0;
		if (!XQueryTree (display, current, &root, &parent, &children, &childCount))
			return current;
		if (children)
			XFree (children);
		if (parent == 0 || parent == root)
			return current;
		current = parent;
	}
}

CRect X11PlatformFrame::getPopupArea () const
{
	XWindowAttributes root;
	if (!XGetWindowAttributes (display, DefaultRootWindow (display), &root))
		return IPlatformFrame::getPopupArea ();
	CPoint position;
	getGlobalPosition (position);
	return CRect (-position.x, -position.y, root.width - position.x, root.height - position.y);
}

IPlatformPopupWindow* X11PlatformFrame::openPopupWindow (const CRect& rect, PopupPainter paint)
{
	auto* popup = new X11PopupWindow (*this, rect, std::move (paint));
	popups.push_back (popup);
	if (popups.size () == 1)
	{
		// Owner events: over our own windows events arrive as usual, anywhere else at the popup.
		XGrabPointer (display, popup->getWindow (), True, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
		              GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
		XGrabKeyboard (display, popup->getWindow (), True, GrabModeAsync, GrabModeAsync, CurrentTime);
	}
	return popup;
}

void X11PlatformFrame::popupWindowClosed (X11PopupWindow* popup)
{
	auto it = std::find (popups.begin (), popups.end (), popup);
	if (it == popups.end ())
		return;
	const bool grabbing = it == popups.begin ();
	popups.erase (it);
	if (grabbing)
	{
		XUngrabPointer (display, CurrentTime);
		XUngrabKeyboard (display, CurrentTime);
		XFlush (display);
	}
}

void X11PlatformFrame::readClipboardText (std::function<void (const std::string& text)> done)
{
	clipboard->read (std::move (done));
}

void X11PlatformFrame::writeClipboardText (const std::string& text)
{
	clipboard->write (text);
}

std::vector<unsigned long> X11PlatformFrame::getPopupWindows () const
{
	std::vector<unsigned long> result;
	for (auto* popup : popups)
		result.push_back (popup->getWindow ());
	return result;
}

void X11PlatformFrame::handleEvent (void* e, const CPoint& origin)
{
	XEvent& event = *static_cast<XEvent*> (e);
	if (frame == nullptr)
		return;
	switch (event.type)
	{
		case Expose:
			invalidRect (CRect (event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
			                    event.xexpose.y + event.xexpose.height));
			break;
		case ButtonPress:
		{
			CPoint where (event.xbutton.x + origin.x, event.xbutton.y + origin.y);
			const unsigned int b = event.xbutton.button;
			if (b >= 4 && b <= 7)
			{
				const CMouseWheelAxis axis = b <= 5 ? kMouseWheelAxisY : kMouseWheelAxisX;
				const float distance = (b == 4 || b == 6) ? 1.f : -1.f;
				frame->platformOnMouseWheel (where, axis, distance, modifiers (event.xbutton.state));
				break;
			}
			int32_t buttons = buttonBit (b) | modifiers (event.xbutton.state);
			if (b == lastClickButton && event.xbutton.time - lastClickTime < kDoubleClickTime &&
			    std::abs (where.x - lastClickPosition.x) < 4 && std::abs (where.y - lastClickPosition.y) < 4)
				buttons |= kDoubleClick;
			lastClickButton = b;
			lastClickTime = event.xbutton.time;
			lastClickPosition = where;
			pressedButtons |= buttonBit (b);
			frame->platformOnMouseDown (where, buttons);
			break;
		}
		case ButtonRelease:
		{
			if (event.xbutton.button >= 4 && event.xbutton.button <= 7)
				break;
			pressedButtons &= ~buttonBit (event.xbutton.button);
			CPoint where (event.xbutton.x + origin.x, event.xbutton.y + origin.y);
			frame->platformOnMouseUp (where, buttonBit (event.xbutton.button) | modifiers (event.xbutton.state));
			break;
		}
		case MotionNotify:
		{
			CPoint where (event.xmotion.x + origin.x, event.xmotion.y + origin.y);
			frame->platformOnMouseMoved (where, heldButtons (event.xmotion.state) | modifiers (event.xmotion.state));
			break;
		}
		case LeaveNotify:
		{
			// A popup's grab moves the pointer away from the frame without it having left.
			if (event.xcrossing.mode != NotifyNormal)
				break;
			CPoint where (event.xcrossing.x + origin.x, event.xcrossing.y + origin.y);
			frame->platformOnMouseExited (where, modifiers (event.xcrossing.state));
			break;
		}
		case KeyPress:
		{
			VstKeyCode key = keyCodeOf (event.xkey);
			if (key.virt || key.character)
				frame->platformOnKeyDown (key);
			break;
		}
		case KeyRelease:
		{
			VstKeyCode key = keyCodeOf (event.xkey);
			if (key.virt || key.character)
				frame->platformOnKeyUp (key);
			break;
		}
		case FocusIn:
		case FocusOut:
			// A popup's keyboard grab is no change of the window's focus.
			if (event.xfocus.mode == NotifyGrab || event.xfocus.mode == NotifyUngrab)
				break;
			frame->platformOnActivate (event.type == FocusIn);
			break;
		default:
			break;
	}
}

void X11PlatformFrame::redraw ()
{
	if (frame == nullptr || backBuffer.getDirtyRects ().empty ())
		return;
	const std::vector<CRect> rects = backBuffer.draw ([this] (CDrawContext* context, const CRect& r) {
		context->setFillColor (kBlackCColor);
		context->drawRect (r, kDrawFilled);
		frame->platformDrawRect (context, r);
		if (tooltipVisible && tooltipArea ().rectOverlap (r))
		{
			CRect tip = tooltipArea ();
			context->setClipRect (r);
			context->setDrawMode (kAliasing);
			context->setFillColor (CColor (255, 255, 225, 255));
			context->setFrameColor (kGreyCColor);
			context->drawRect (tip, kDrawFilledAndStroked);
			auto font = makeOwned<CFontDesc> ("Arial", 12);
			context->setFont (font);
			context->setFontColor (kBlackCColor);
			CRect text (tip);
			text.left += 6;
			context->drawString (tooltipText.c_str (), text, kLeftText);
		}
	});
	putBackBuffer (display, window, backBuffer, rects);
}
} // VSTGUI
