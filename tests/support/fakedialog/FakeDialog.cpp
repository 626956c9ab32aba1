// A stand-in for the desktop's dialog program that acts on a window the way a person and a desktop would while
// it is open. Run as "zenity" from a folder put first on the PATH. What it does comes from the environment:
//   FAKE_DIALOG_LOG    file it writes its arguments to, one a line, then what it saw ("drawn" or "black")
//   FAKE_DIALOG_PANEL  X window it covers with a window of its own and uncovers again, then clicks and types on
//   FAKE_DIALOG_X/_Y   the point of the panel it watches and clicks; it must be drawn in a colour other than black
//   FAKE_DIALOG_EXIT   its exit status; "dismissed" ends as zenity does on Escape or when its window is closed
#include "X11Events.h"

#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace
{
std::string env (const char* name)
{
	const char* value = std::getenv (name);
	return value ? value : "";
}

// The panel is uncovered black by the server and must be drawn again by its owner while we are open.
std::string coverAndWatch (Display* display, Window panel, int x, int y)
{
	XWindowAttributes a;
	XGetWindowAttributes (display, panel, &a);
	Window child;
	int left = 0, top = 0;
	XTranslateCoordinates (display, panel, DefaultRootWindow (display), 0, 0, &left, &top, &child);
	const Window cover = XCreateSimpleWindow (display, DefaultRootWindow (display), left, top, unsigned (a.width),
	                                          unsigned (a.height), 0, 0, 0xFFFFFF);
	XSetWindowAttributes noManager {};
	noManager.override_redirect = True;
	XChangeWindowAttributes (display, cover, CWOverrideRedirect, &noManager);
	XMapRaised (display, cover);
	XSync (display, False);
	std::this_thread::sleep_for (std::chrono::milliseconds (100));
	XDestroyWindow (display, cover);
	XSync (display, False);
	const auto deadline = std::chrono::steady_clock::now () + std::chrono::seconds (30);
	while (std::chrono::steady_clock::now () < deadline)
	{
		if (windowPixel (display, panel, x, y) != 0)
			return "drawn";
		std::this_thread::sleep_for (std::chrono::milliseconds (10));
	}
	return "black";
}
}

int main (int argc, char** argv)
{
	std::ofstream log (env ("FAKE_DIALOG_LOG"), std::ios::app);
	for (int i = 1; i < argc; ++i)
		log << argv[i] << "\n";
	log.flush ();
	Display* display = XOpenDisplay (nullptr);
	const Window panel = std::strtoul (env ("FAKE_DIALOG_PANEL").c_str (), nullptr, 0);
	if (display && panel)
	{
		const int x = std::atoi (env ("FAKE_DIALOG_X").c_str ());
		const int y = std::atoi (env ("FAKE_DIALOG_Y").c_str ());
		log << coverAndWatch (display, panel, x, y) << "\n";
		// The person lets go of the button that opened us, clicks the panel again and types.
		sendInputEvent (display, panel, ButtonRelease, Button1, x, y, Button1Mask, CurrentTime);
		sendInputEvent (display, panel, ButtonPress, Button1, x, y, 0, CurrentTime);
		sendInputEvent (display, panel, ButtonRelease, Button1, x, y, Button1Mask, CurrentTime);
		sendInputEvent (display, panel, KeyPress, XKeysymToKeycode (display, XK_a), x, y, 0, CurrentTime);
		std::this_thread::sleep_for (std::chrono::milliseconds (200));
	}
	if (display)
		XCloseDisplay (display);
	const std::string exit = env ("FAKE_DIALOG_EXIT");
	if (exit == "dismissed")
		return std::atoi (env ("ZENITY_ESC").empty () ? "1" : env ("ZENITY_ESC").c_str ());
	return std::atoi (exit.c_str ());
}
