#pragma once

#include "vstgui/lib/platform/x11frame.h"

#include "X11Events.h"

#include <chrono>
#include <functional>
#include <map>
#include <thread>

// Feeds an X11 frame events as the server delivers them, in frame pixels: to the popup window
// under the point when there is one, else to the frame's own window; then lets the frame handle
// them.
struct X11FrameDriver
{
	X11FrameDriver (Display* display, VSTGUI::X11PlatformFrame& window) : display (display), window (window) {}

	// Runs the frame's event handling until the condition holds. The X server is another process:
	// a loaded machine may keep it waiting for seconds, so only a hang reaches the half-minute bound.
	bool pumpUntil (const std::function<bool ()>& condition)
	{
		const auto deadline = std::chrono::steady_clock::now () + std::chrono::seconds (30);
		for (;;)
		{
			window.processEvents ();
			if (condition ())
				return true;
			if (std::chrono::steady_clock::now () > deadline)
				return false;
			std::this_thread::sleep_for (std::chrono::milliseconds (10));
		}
	}
	void pump () { window.processEvents (); }

	// A window's top left and size on the screen.
	static VSTGUI::CRect screenRect (Display* display, Window w)
	{
		XWindowAttributes a;
		XGetWindowAttributes (display, w, &a);
		Window child;
		int x = 0, y = 0;
		XTranslateCoordinates (display, w, DefaultRootWindow (display), 0, 0, &x, &y, &child);
		return VSTGUI::CRect (x, y, x + a.width, y + a.height);
	}

	// Where a window is on the screen; windows here never move, so each is asked once.
	const VSTGUI::CRect& placeOf (Window w)
	{
		auto it = places.find (w);
		if (it == places.end ())
			it = places.emplace (w, screenRect (display, w)).first;
		return it->second;
	}

	// The window an event at this point of the frame goes to, and the point in it.
	Window target (const VSTGUI::CPoint& where, int& x, int& y)
	{
		const VSTGUI::CRect frameRect = placeOf (window.getWindow ());
		const VSTGUI::CPoint onScreen (frameRect.left + where.x, frameRect.top + where.y);
		const auto popups = window.getPopupWindows ();
		for (auto it = popups.rbegin (); it != popups.rend (); ++it)
		{
			const VSTGUI::CRect r = placeOf (*it);
			if (r.pointInside (onScreen))
			{
				x = static_cast<int> (onScreen.x - r.left);
				y = static_cast<int> (onScreen.y - r.top);
				return *it;
			}
		}
		x = static_cast<int> (where.x);
		y = static_cast<int> (where.y);
		return window.getWindow ();
	}

	// A button press or release (buttons 4 and 5 are the wheel) or a motion at a frame point.
	void pointer (int type, unsigned int button, const VSTGUI::CPoint& where, unsigned int state = 0)
	{
		int x = 0, y = 0;
		const Window w = target (where, x, y);
		// A motion's hint flag sits where a button event has its button.
		sendInputEvent (display, w, type, button, x, y, state, ++time);
		pump ();
	}
	void click (const VSTGUI::CPoint& where)
	{
		pointer (ButtonPress, Button1, where);
		pointer (ButtonRelease, Button1, where, Button1Mask);
	}
	void move (const VSTGUI::CPoint& where) { pointer (MotionNotify, 0, where); }
	// One notch; up is towards the top of the content.
	void wheel (const VSTGUI::CPoint& where, bool up) { pointer (ButtonPress, up ? 4 : 5, where); }

	// A key press to the window that has the keyboard: the oldest popup while one is open.
	void key (KeySym keysym, unsigned int state = 0)
	{
		const auto popups = window.getPopupWindows ();
		const Window w = popups.empty () ? window.getWindow () : popups.front ();
		sendInputEvent (display, w, KeyPress, XKeysymToKeycode (display, keysym), 0, 0, state, ++time);
		pump ();
	}

	// The colour of a pixel of a window as 0xRRGGBB.
	unsigned long pixel (Window w, int x, int y) const { return windowPixel (display, w, x, y); }

	Display* display;
	VSTGUI::X11PlatformFrame& window;
	Time time {1000};
	std::map<Window, VSTGUI::CRect> places;
};
