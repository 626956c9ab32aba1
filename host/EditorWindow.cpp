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

// The sizes the instrument's panel takes, for a window manager to keep the window to.
constexpr int kMinWidth = 640, kMinHeight = 360, kMaxWidth = 2560, kMaxHeight = 1440;
constexpr int kAspectWidth = 16, kAspectHeight = 9;
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
	const PixelSize size = viewSize();
	const unsigned long black = BlackPixel(m_display, DefaultScreen(m_display));
	m_window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, size.width, size.height, 0, 0, black);
	XStoreName(m_display, m_window, m_title.c_str());
	Atom deleteAtom = XInternAtom(m_display, "WM_DELETE_WINDOW", False);
	m_deleteAtom = deleteAtom;
	XSetWMProtocols(m_display, m_window, &deleteAtom, 1);
	setSizeHints();
	XSelectInput(m_display, m_window, StructureNotifyMask);
	// The view lies in a holder of its own, which moves inside the window; the window's black fills the rest.
	m_holder = XCreateSimpleWindow(m_display, m_window, 0, 0, size.width, size.height, 0, 0, black);
	XMapWindow(m_display, m_holder);
	XMapWindow(m_display, m_window);
	// The editor's own connection puts its child window into the holder: it has to exist on the server first.
	XSync(m_display, False);
	m_windowSize = m_offered = size;

	m_nsWindow = NSObject::alloc<NSWindow>()->initWithContentRect(view->frame());
	m_nsWindow->setWindowNumber(static_cast<NSInteger>(m_holder));
	m_nsWindow->setContentView(view);

	// The editor resizes itself (its zoom handle): the window follows. Sizes the window gave the view itself
	// are not sent back, or a size the editor adjusts would bounce between the two.
	m_observer = NSNotificationCenter::defaultCenter()->addObserverForName(NSViewFrameDidChangeNotification, view,
		[this](const NSNotification&) {
			if (!m_resizingView)
				resizeToView();
		});
}

void EditorWindow::setSizeHints()
{
	XSizeHints* hints = XAllocSizeHints();
	if (!hints)
		return;
	hints->flags = PMinSize | PMaxSize | PAspect;
	hints->min_width = kMinWidth;
	hints->min_height = kMinHeight;
	hints->max_width = kMaxWidth;
	hints->max_height = kMaxHeight;
	hints->min_aspect.x = hints->max_aspect.x = kAspectWidth;
	hints->min_aspect.y = hints->max_aspect.y = kAspectHeight;
	XSetWMNormalHints(m_display, m_window, hints);
	XFree(hints);
}

EditorWindow::PixelSize EditorWindow::viewSize() const
{
	const NSRect f = m_view->frame();
	return {pixels(f.size.width), pixels(f.size.height)};
}

void EditorWindow::resizeToView()
{
	const PixelSize size = viewSize();
	// The holder stays where it is until the window has answered: the view moving under a dragging pointer
	// would change the drag.
	XResizeWindow(m_display, m_holder, size.width, size.height);
	m_lastResizeRequest = NextRequest(m_display);
	XResizeWindow(m_display, m_window, size.width, size.height);
	XFlush(m_display);
}

void EditorWindow::placeView()
{
	const PixelSize size = viewSize();
	XMoveResizeWindow(m_display, m_holder, (int(m_windowSize.width) - int(size.width)) / 2,
		(int(m_windowSize.height) - int(size.height)) / 2, size.width, size.height);
	XFlush(m_display);
}

void EditorWindow::followWindow(PixelSize size)
{
	m_windowSize = size;
	// A size the view was given already comes with a move, or from a window manager that keeps its size when the
	// window asks for the view's: the view is placed in it and nobody asks again.
	if (size != m_offered)
	{
		m_offered = size;
		if (viewSize() != size)
		{
			m_resizingView = true;
			m_view->setFrame(NSMakeRect(0, 0, size.width, size.height));
			m_resizingView = false;
		}
		// The view may keep to a size of its own (an aspect, limits): the window is asked once to follow it rather
		// than leave a band beside it.
		if (viewSize() != size)
			resizeToView();
	}
	placeView();
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
			followWindow({unsigned(event.xconfigure.width), unsigned(event.xconfigure.height)});
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
