#include "x11clipboard.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace VSTGUI
{
X11Clipboard::X11Clipboard (Display* display, unsigned long window)
: display (display)
, window (window)
, clipboard (XInternAtom (display, "CLIPBOARD", False))
, utf8String (XInternAtom (display, "UTF8_STRING", False))
, targets (XInternAtom (display, "TARGETS", False))
, property (XInternAtom (display, "VIREL_CLIPBOARD", False))
{
}

void X11Clipboard::write (const std::string& text)
{
	owned = text;
	XSetSelectionOwner (display, clipboard, window, CurrentTime);
	owning = XGetSelectionOwner (display, clipboard) == window;
	XFlush (display);
}

void X11Clipboard::read (std::function<void (const std::string& text)> done)
{
	if (owning)
	{
		done (owned);
		return;
	}
	if (XGetSelectionOwner (display, clipboard) == None)
		return;
	// The answer comes as a SelectionNotify; a newer request replaces one still waiting.
	pending = std::move (done);
	XConvertSelection (display, clipboard, utf8String, property, window, CurrentTime);
	XFlush (display);
}

bool X11Clipboard::handleEvent (XEvent& event)
{
	switch (event.type)
	{
		case SelectionRequest:
			answerRequest (event);
			return true;
		case SelectionNotify:
			receive (event);
			return true;
		case SelectionClear:
			if (event.xselectionclear.selection == clipboard)
				owning = false;
			return true;
		default:
			return false;
	}
}

void X11Clipboard::answerRequest (XEvent& event)
{
	const XSelectionRequestEvent& request = event.xselectionrequest;
	XEvent reply {};
	reply.xselection.type = SelectionNotify;
	reply.xselection.requestor = request.requestor;
	reply.xselection.selection = request.selection;
	reply.xselection.target = request.target;
	reply.xselection.time = request.time;
	// Old clients name no property: the target then doubles as one.
	const Atom into = request.property == None ? request.target : request.property;
	reply.xselection.property = None;
	if (owning && request.selection == clipboard)
	{
		if (request.target == targets)
		{
			const Atom offered[] = {targets, utf8String, XA_STRING};
			XChangeProperty (display, request.requestor, into, XA_ATOM, 32, PropModeReplace,
			                 reinterpret_cast<const unsigned char*> (offered), 3);
			reply.xselection.property = into;
		}
		else if (request.target == utf8String || request.target == XA_STRING)
		{
			XChangeProperty (display, request.requestor, into, request.target, 8, PropModeReplace,
			                 reinterpret_cast<const unsigned char*> (owned.data ()), static_cast<int> (owned.size ()));
			reply.xselection.property = into;
		}
	}
	XSendEvent (display, request.requestor, False, NoEventMask, &reply);
	XFlush (display);
}

void X11Clipboard::receive (XEvent& event)
{
	auto done = std::move (pending);
	pending = nullptr;
	if (!done || event.xselection.property == None)
		return;
	Atom type = None;
	int format = 0;
	unsigned long count = 0, remaining = 0;
	unsigned char* data = nullptr;
	// A name field takes a line or two; a larger answer is cut at 64 KiB.
	if (XGetWindowProperty (display, window, event.xselection.property, 0, 16384, True, AnyPropertyType, &type, &format,
	                        &count, &remaining, &data) == Success &&
	    data && format == 8 && (type == utf8String || type == XA_STRING))
		done (std::string (reinterpret_cast<const char*> (data), count));
	if (data)
		XFree (data);
}
} // VSTGUI
