#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

// Sends a button, motion or key event to a window as the server delivers one (the three share their layout;
// `detail` is the button or the key code), and waits until the server has it.
inline void sendInputEvent (Display* display, Window window, int type, unsigned int detail, int x, int y,
                            unsigned int state, Time time)
{
	XEvent e {};
	e.type = type;
	e.xbutton.window = window;
	e.xbutton.root = DefaultRootWindow (display);
	e.xbutton.button = detail;
	e.xbutton.x = x;
	e.xbutton.y = y;
	e.xbutton.state = state;
	e.xbutton.same_screen = True;
	e.xbutton.time = time;
	XSendEvent (display, window, False, NoEventMask, &e);
	XSync (display, False);
}

// The colour of a pixel of a window as 0xRRGGBB.
inline unsigned long windowPixel (Display* display, Window window, int x, int y)
{
	XImage* image = XGetImage (display, window, x, y, 1, 1, AllPlanes, ZPixmap);
	if (image == nullptr)
		return 0;
	const unsigned long value = XGetPixel (image, 0, 0) & 0xFFFFFF;
	XDestroyImage (image);
	return value;
}
