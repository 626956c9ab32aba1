#include "EditorWindow.h"

#include "HostError.h"

#include <CoreFoundation/CoreFoundation.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

namespace
{
// Xlib's own handler ends the program. A window that someone else destroyed (a window manager killing the
// client's window, say) takes the editor's child with it; tearing down what is already gone must not.
int reportXError(Display* display, XErrorEvent* error)
{
	if (error->error_code == BadWindow || error->error_code == BadDrawable)
		return 0;
	char text[256] = {};
	XGetErrorText(display, error->error_code, text, sizeof text);
	std::fprintf(stderr, "virel-host: X error: %s (request %d)\n", text, int(error->request_code));
	return 0;
}

unsigned int pixels(CGFloat length)
{
	return length < 1 ? 1u : static_cast<unsigned int>(length + 0.5);
}
}

EditorWindow::EditorWindow(const std::string& title) : m_title(title)
{
	m_display = XOpenDisplay(nullptr);
	XSetErrorHandler(reportXError);
	if (!m_display)
	{
		const char* name = std::getenv("DISPLAY");
		throw HostError(std::string("cannot open the X display") + (name && *name ? " '" + std::string(name) + "'" : "") +
			": the editor window needs one (set DISPLAY, or draw the panel into a file with --screenshot FILE.png)");
	}
}

void EditorWindow::show(NSView* view)
{
	m_view = view;
	const NSRect frame = view->frame();
	m_window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, pixels(frame.size.width),
		pixels(frame.size.height), 0, 0, BlackPixel(m_display, DefaultScreen(m_display)));
	XStoreName(m_display, m_window, m_title.c_str());
	Atom deleteAtom = XInternAtom(m_display, "WM_DELETE_WINDOW", False);
	m_deleteAtom = deleteAtom;
	XSetWMProtocols(m_display, m_window, &deleteAtom, 1);
	XSelectInput(m_display, m_window, StructureNotifyMask);
	XMapWindow(m_display, m_window);
	// The editor's own connection puts its child window into this one: it has to exist on the server first.
	XSync(m_display, False);

	m_nsWindow = NSObject::alloc<NSWindow>()->initWithContentRect(frame);
	m_nsWindow->setWindowNumber(static_cast<NSInteger>(m_window));
	m_nsWindow->setContentView(view);

	// The editor resizes itself (its zoom handle): the window follows. Sizes the window gave the view itself
	// are not sent back, or a size the editor adjusts would bounce between the two.
	m_observer = NSNotificationCenter::defaultCenter()->addObserverForName(NSViewFrameDidChangeNotification, view,
		[this](const NSNotification&) {
			if (!m_resizingView)
				resizeToView();
		});
}

void EditorWindow::resizeToView()
{
	const NSRect f = m_view->frame();
	m_lastResizeRequest = NextRequest(m_display);
	XResizeWindow(m_display, m_window, pixels(f.size.width), pixels(f.size.height));
	XFlush(m_display);
}

EditorWindow::~EditorWindow()
{
	if (m_nsWindow)
	{
		NSNotificationCenter::defaultCenter()->removeObserver(m_observer);
		m_nsWindow->setContentView(nullptr);
		m_nsWindow->release();
		if (!m_destroyed)
			XDestroyWindow(m_display, m_window);
	}
	XCloseDisplay(m_display);
}

void EditorWindow::handleEvents()
{
	while (XPending(m_display))
	{
		XEvent event;
		XNextEvent(m_display, &event);
		if (event.type == ClientMessage && static_cast<unsigned long>(event.xclient.data.l[0]) == m_deleteAtom)
			m_closed = true;
		else if (event.type == DestroyNotify && event.xdestroywindow.window == m_window)
			m_closed = m_destroyed = true;
		else if (event.type == ConfigureNotify && event.xconfigure.window == m_window)
		{
			// Sizes the window had before the server took the view's latest size are history: handed back to a
			// view that zooms faster than the window follows, they would pull it back through every size it passed.
			if (event.xconfigure.serial < m_lastResizeRequest)
				continue;
			const NSRect f = m_view->frame();
			if (pixels(f.size.width) == unsigned(event.xconfigure.width) &&
				pixels(f.size.height) == unsigned(event.xconfigure.height))
				continue;
			m_resizingView = true;
			m_view->setFrame(NSMakeRect(0, 0, event.xconfigure.width, event.xconfigure.height));
			m_resizingView = false;
			// The view may keep to a size of its own (an aspect, limits); the window follows it rather than leave
			// an empty band beside it.
			const NSRect kept = m_view->frame();
			if (pixels(kept.size.width) != unsigned(event.xconfigure.width) ||
				pixels(kept.size.height) != unsigned(event.xconfigure.height))
				resizeToView();
		}
	}
}

void EditorWindow::run(const std::function<void()>& turn)
{
	while (m_view && !m_closed)
	{
		NSAutoreleasePool pool;
		CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.02, false);
		handleEvents();
		turn();
	}
}
