// virel-host editor with the instrument itself: the panel drawn into a file after scripted input, and shown in
// a window on a private X server that a person would resize and close.

#include "HostProcess.h"

#include <cairo/cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

// Xlib after the test framework, whose names its macros would hit.
#include "PrivateXServer.h"

#include <X11/Xutil.h>

namespace fs = std::filesystem;

namespace
{
// A PNG as straight RGB, read through cairo.
struct Picture
{
	explicit Picture(const std::string& path) : surface(cairo_image_surface_create_from_png(path.c_str())) {}
	~Picture() { cairo_surface_destroy(surface); }
	int width() const { return cairo_image_surface_get_width(surface); }
	int height() const { return cairo_image_surface_get_height(surface); }
	// Red, green and blue of an opaque pixel.
	std::array<int, 3> rgb(int x, int y) const
	{
		const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
		const uint32_t p = reinterpret_cast<const uint32_t*>(row)[x];
		return {int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF)};
	}
	bool greenAt(int x, int y) const
	{
		const auto c = rgb(x, y);
		return c[1] > c[0] + 60 && c[1] > c[2] + 30;
	}
	cairo_surface_t* surface;
};

class EditorCommand : public ::testing::Test
{
protected:
	void SetUp() override
	{
		m_dir = fs::temp_directory_path() / ("virel-editor-test-" + std::to_string(::getpid()) + "-" +
												::testing::UnitTest::GetInstance()->current_test_info()->name());
		fs::create_directories(m_dir);
	}
	void TearDown() override { fs::remove_all(m_dir); }

	std::vector<std::string> editorArgs(std::vector<std::string> args) const
	{
		args.insert(args.begin(), {"editor", "--plugin", VIREL_COMPONENT_BUNDLE});
		return args;
	}
	HostRun editor(const std::vector<std::string>& args, const std::string& environment = "") const
	{
		return runHost(editorArgs(args), m_dir, environment);
	}
	std::string path(const std::string& name) const { return (m_dir / name).string(); }
	void write(const std::string& name, const std::string& text) const { std::ofstream(path(name)) << text; }

	fs::path m_dir;
};

// The PLAY and EDIT mode buttons of a 1024 x 576 panel.
constexpr int kPlayX = 87, kEditX = 181, kModeY = 241;

Window topLevelNamed(Display* display, const char* name)
{
	Window root, parent, *children = nullptr;
	unsigned int count = 0;
	Window found = 0;
	if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
		for (unsigned int i = 0; i < count && !found; ++i)
		{
			char* title = nullptr;
			if (XFetchName(display, children[i], &title) && title)
			{
				if (std::string(title) == name)
					found = children[i];
				XFree(title);
			}
		}
	if (children)
		XFree(children);
	return found;
}

// A window's first child; 0 while it has none.
Window firstChild(Display* display, Window window)
{
	Window root, parent, *children = nullptr;
	unsigned int count = 0;
	Window child = 0;
	if (XQueryTree(display, window, &root, &parent, &children, &count) && count > 0)
		child = children[0];
	if (children)
		XFree(children);
	return child;
}

// The editor's own window, inside the holder that the host places in its window; 0 while there is none.
Window panelIn(Display* display, Window window)
{
	return firstChild(display, firstChild(display, window));
}

// Width and height of the editor inside a window; 0 x 0 while it has none.
std::pair<unsigned, unsigned> childSize(Display* display, Window window)
{
	XWindowAttributes a;
	const Window child = panelIn(display, window);
	return child && XGetWindowAttributes(display, child, &a) ? std::make_pair(unsigned(a.width), unsigned(a.height))
															 : std::make_pair(0u, 0u);
}

// The host's windows belong to another process and vanish when it closes them, between any query of the
// window tree and the next request about one of its windows. Those errors are expected; any other still
// ends the test as Xlib's own handler does.
XErrorHandler g_xlibHandler = nullptr;

int ignoreVanishedWindows(Display* display, XErrorEvent* error)
{
	if (error->error_code == BadWindow || error->error_code == BadDrawable)
		return 0;
	return g_xlibHandler(display, error);
}

struct WindowWatcher
{
	WindowWatcher()
	{
		if (server.display)
			g_xlibHandler = XSetErrorHandler(ignoreVanishedWindows);
	}
	PrivateXServer server;
};

// One private X server for the tests that show windows; null without Xvfb.
Display* privateDisplay()
{
	static WindowWatcher watcher;
	return watcher.server.display;
}

// Waits for another process: a minute at most, as a loaded machine or a sanitizer build may need.
template <typename Condition>
bool waitFor(Condition condition)
{
	const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
	while (!condition())
	{
		if (std::chrono::steady_clock::now() > deadline)
			return false;
		std::this_thread::sleep_for(std::chrono::milliseconds(20));
	}
	return true;
}

// Runs the host command in the background with its exit status written to exitFile; the editor's top-level window
// once the panel shows in it, or 0.
Window startEditorWindow(Display* display, const std::string& command, const std::string& exitFile)
{
	if (std::system(("(" + command + "; echo $? >'" + exitFile + "') &").c_str()) != 0)
		return 0;
	Window window = 0;
	if (!waitFor([&] { return (window = topLevelNamed(display, "Virel")) != 0; }))
		return 0;
	return waitFor([&] { return childSize(display, window).first != 0; }) ? window : 0;
}
}

TEST_F(EditorCommand, ScreenshotShowsThePanelAtTheAskedSizeAndAfterTheScriptedClicks)
{
	HostRun r = editor({"--screenshot", path("small.png"), "--size", "800x600"});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	EXPECT_EQ(r.out, "Drew Vens' Virel Editor at 800 x 450 to " + path("small.png") + "\n");
	EXPECT_EQ(Picture(path("small.png")).width(), 800);
	EXPECT_EQ(Picture(path("small.png")).height(), 450);

	ASSERT_EQ(editor({"--screenshot", path("play.png")}).exitCode, 0);
	write("edit.txt", "# to the edit page\nclick " + std::to_string(kEditX) + " " + std::to_string(kModeY) + "\nwait 100\n");
	r = editor({"--screenshot", path("edit.png"), "--script", path("edit.txt")});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	const Picture play(path("play.png")), edit(path("edit.png"));
	ASSERT_EQ(play.width(), 1024);
	EXPECT_TRUE(play.greenAt(kPlayX, kModeY));
	EXPECT_FALSE(play.greenAt(kEditX, kModeY));
	EXPECT_FALSE(edit.greenAt(kPlayX, kModeY));
	EXPECT_TRUE(edit.greenAt(kEditX, kModeY));

	write("bad.txt", "click 10 10\npress 3\n");
	r = editor({"--screenshot", path("bad.png"), "--script", path("bad.txt")});
	EXPECT_EQ(r.exitCode, 1);
	EXPECT_NE(r.err.find(path("bad.txt") + ":2: unknown action 'press'"), std::string::npos) << r.err;
	EXPECT_FALSE(fs::exists(path("bad.png")));
}

// A knob turned on the edit page sends each step as the instrument's parameter change, as it would to a synthesizer
// on the MIDI cable.
TEST_F(EditorCommand, WhatTheInstrumentSendsWhileTheEditorIsOpenIsWrittenToTheMidiOutput)
{
	write("turn.txt", "click " + std::to_string(kEditX) + " " + std::to_string(kModeY) + "\nwait 100\ndrag 706 385 706 330\n");
	const HostRun r = editor({"--screenshot", path("turn.png"), "--script", path("turn.txt"), "--midi-out", path("out.syx")});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	const std::string sent = slurp(path("out.syx"));
	int messages = 0;
	for (size_t start = 0; start < sent.size(); ++messages)
	{
		const size_t end = sent.find('\xF7', start);
		ASSERT_NE(end, std::string::npos) << "a whole message at byte " << start;
		EXPECT_EQ(sent.compare(start, 2, "\xF0\x40"), 0) << "the instrument's own SysEx at byte " << start;
		start = end + 1;
	}
	EXPECT_GT(messages, 3) << "a message for each step of the turn";
}

// The dialog program's own complaints (GTK's, dconf's) go with the plug-in's log, not into the person's terminal.
TEST_F(EditorCommand, TheDialogProgramsWarningsStayOutOfTheTerminal)
{
	const std::string complaint = "Gtk-Message: GtkDialog mapped without a transient parent";
	fs::create_directories(path("bin"));
	write("bin/zenity", "#!/bin/sh\necho '" + complaint + "' >&2\nexit 5\n"); // 5: timed out, as a cancel
	fs::permissions(path("bin/zenity"), fs::perms::owner_all);
	write("donate.txt", "click 538 176\nwait 100\n"); // DONATE asks first
	const std::string desktop = "PATH='" + path("bin") + "':\"$PATH\" DISPLAY=:99";
	HostRun r = editor({"--screenshot", path("d.png"), "--script", path("donate.txt")}, desktop);
	ASSERT_EQ(r.exitCode, 0) << r.err;
	EXPECT_EQ(r.err, "");
	r = editor({"--screenshot", path("d.png"), "--script", path("donate.txt"), "--verbose"}, desktop);
	EXPECT_NE(r.err.find(complaint), std::string::npos) << r.err;
}

TEST_F(EditorCommand, WithoutADisplayTheWindowIsRefusedWithAClearError)
{
	const HostRun r = editor({}, "env -u DISPLAY");
	EXPECT_EQ(r.exitCode, 1);
	EXPECT_NE(r.err.find("virel-host: cannot open the X display: the editor window needs one"), std::string::npos) << r.err;
}

TEST_F(EditorCommand, WindowFollowsThePersonsResizeAndItsSizeIsSavedWhenClosed)
{
	Display* display = privateDisplay();
	if (!display)
		GTEST_SKIP() << "Xvfb is not available";
	const std::string run = hostCommand(editorArgs({"--state-out", path("state.aupreset")}), m_dir) + " &";
	ASSERT_EQ(std::system(run.c_str()), 0);

	Window window = 0;
	ASSERT_TRUE(waitFor([&] { return (window = topLevelNamed(display, "Virel")) != 0; })) << slurp(path("stderr"));
	ASSERT_TRUE(waitFor([&] { return childSize(display, window) == std::make_pair(1024u, 576u); }));

	XResizeWindow(display, window, 1280, 720);
	XFlush(display);
	EXPECT_TRUE(waitFor([&] { return childSize(display, window) == std::make_pair(1280u, 720u); }));

	// A size off 16:9, as a window manager's resize or maximise gives it: the window takes the panel's size.
	XResizeWindow(display, window, 1200, 900);
	XFlush(display);
	EXPECT_TRUE(waitFor([&] {
		XWindowAttributes a;
		return XGetWindowAttributes(display, window, &a) && a.width == 1200 && a.height == 675 &&
			childSize(display, window) == std::make_pair(1200u, 675u);
	}));
	XResizeWindow(display, window, 1280, 720);
	XFlush(display);
	EXPECT_TRUE(waitFor([&] { return childSize(display, window) == std::make_pair(1280u, 720u); }));

	XEvent close{};
	close.xclient.type = ClientMessage;
	close.xclient.window = window;
	close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
	close.xclient.format = 32;
	close.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
	XSendEvent(display, window, False, NoEventMask, &close);
	XFlush(display);
	ASSERT_TRUE(waitFor([&] { return fs::exists(path("state.aupreset")) && topLevelNamed(display, "Virel") == 0; }));
	EXPECT_NE(slurp(path("stdout")).find("Showing Vens' Virel Editor at 1024 x 576"), std::string::npos);

	const HostRun r = editor({"--screenshot", path("again.png"), "--state-in", path("state.aupreset")});
	ASSERT_EQ(r.exitCode, 0) << r.err;
	EXPECT_EQ(r.out, "Drew Vens' Virel Editor at 1280 x 720 to " + path("again.png") + "\n");
}

TEST_F(EditorCommand, AWindowDestroyedFromOutsideEndsTheHostCleanlyAndItsLogIsReadableWhileItRuns)
{
	Display* display = privateDisplay();
	if (!display)
		GTEST_SKIP() << "Xvfb is not available";
	const Window window = startEditorWindow(display, hostCommand(editorArgs({"--verbose"}), m_dir), path("exit"));
	ASSERT_NE(window, 0u) << slurp(path("stderr"));
	EXPECT_TRUE(waitFor([&] { return slurp(path("stderr")).find("Opening GUI") != std::string::npos; }));
	XDestroyWindow(display, window);
	XFlush(display);
	ASSERT_TRUE(waitFor([&] { return !slurp(path("exit")).empty(); }));
	EXPECT_EQ(slurp(path("exit")), "0\n") << slurp(path("stderr"));
}

TEST_F(EditorCommand, AQuickZoomWithTheHandleNeverTakesThePanelBackToASizeItPassed)
{
	Display* display = privateDisplay();
	if (!display)
		GTEST_SKIP() << "Xvfb is not available";
	const Window window = startEditorWindow(display, hostCommand(editorArgs({"--verbose"}), m_dir), path("exit"));
	ASSERT_NE(window, 0u) << slurp(path("stderr"));
	ASSERT_EQ(childSize(display, window), std::make_pair(1024u, 576u));
	const Window panel = panelIn(display, window);

	// The pointer outruns the window: twenty moves reach the panel before the window has followed the first.
	auto send = [&](int type, int x, int y, unsigned int state) {
		XEvent e{};
		e.xbutton.type = type;
		e.xbutton.display = display;
		e.xbutton.window = panel;
		e.xbutton.x = x;
		e.xbutton.y = y;
		e.xbutton.state = state;
		e.xbutton.button = type == MotionNotify ? 0 : Button1;
		e.xbutton.same_screen = True;
		XSendEvent(display, panel, False, NoEventMask, &e);
	};
	send(ButtonPress, 1010, 565, 0);
	for (int i = 1; i <= 20; ++i)
		send(MotionNotify, 1010 + 10 * i, 565 + 6 * i, Button1Mask);
	send(ButtonRelease, 1210, 685, Button1Mask);
	XFlush(display);
	ASSERT_TRUE(waitFor([&] { return childSize(display, window).first > 1200; }));
	std::this_thread::sleep_for(std::chrono::milliseconds(300));
	XDestroyWindow(display, window);
	XFlush(display);
	ASSERT_TRUE(waitFor([&] { return !slurp(path("exit")).empty(); }));

	std::istringstream log(slurp(path("stderr")));
	// Every step of the zoom ends at a size the window keeps to 16:9 as it is, so none takes a pixel back.
	double largest = 0;
	int sizes = 0;
	for (std::string line; std::getline(log, line);)
	{
		const size_t at = line.find("setFrame new size ");
		if (at == std::string::npos)
			continue;
		const double width = std::stod(line.substr(at + 18));
		EXPECT_GE(width, largest) << line;
		largest = std::max(largest, width);
		++sizes;
	}
	EXPECT_GE(sizes, 20);
}

// The test plays a window manager that maximises the window to a size the panel cannot take and keeps it there,
// answering every size the host asks for with the one it gave, as a window manager does for a maximised window.
TEST_F(EditorCommand, AWindowManagersSizeIsKeptWithThePanelCentredAndTheHostStopsAsking)
{
	Display* display = privateDisplay();
	if (!display)
		GTEST_SKIP() << "Xvfb is not available";
	const Window root = DefaultRootWindow(display);
	XSelectInput(display, root, SubstructureRedirectMask);
	const std::shared_ptr<void> unmanage(nullptr, [&](void*) { XSelectInput(display, root, NoEventMask), XSync(display, False); });
	ASSERT_EQ(std::system(("(" + hostCommand(editorArgs({}), m_dir) + "; echo $? >'" + path("exit") + "') &").c_str()), 0);

	Window window = 0;
	int asked = 0;
	auto manage = [&] {
		for (XEvent e; XPending(display);)
		{
			XNextEvent(display, &e);
			if (e.type == MapRequest)
			{
				window = e.xmaprequest.window;
				XMoveResizeWindow(display, window, 0, 0, 2600, 1581);
				XMapWindow(display, window);
			}
			else if (e.type == ConfigureRequest && ++asked)
			{
				XEvent kept{};
				kept.xconfigure = {ConfigureNotify, 0, True, display, window, window, 0, 0, 2600, 1581, 0, None, False};
				XSendEvent(display, window, False, StructureNotifyMask, &kept);
			}
		}
		XFlush(display);
	};
	auto centred = [&] {
		XWindowAttributes a;
		const Window holder = firstChild(display, window);
		return holder && XGetWindowAttributes(display, holder, &a) && a.x == 20 && a.y == 70 &&
			childSize(display, window) == std::make_pair(2560u, 1440u);
	};
	ASSERT_TRUE(waitFor([&] { return manage(), window && centred(); })) << slurp(path("stderr"));
	// The host asked, if at all, before it centred the panel: the round trip that saw it centred has queued the
	// request here already.
	manage();
	EXPECT_LE(asked, 1);
	asked = 0;
	for (int i = 0; i < 50; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(20)))
		manage();
	EXPECT_EQ(asked, 0);
	EXPECT_TRUE(centred());

	XSizeHints h{};
	long supplied = 0;
	ASSERT_TRUE(XGetWMNormalHints(display, window, &h, &supplied));
	EXPECT_EQ(std::vector<long>({h.flags & (PMinSize | PMaxSize | PAspect), h.min_width, h.min_height, h.max_width,
				  h.max_height, h.min_aspect.x * 9 - h.min_aspect.y * 16, h.max_aspect.x * 9 - h.max_aspect.y * 16}),
		std::vector<long>({PMinSize | PMaxSize | PAspect, 640, 360, 2560, 1440, 0, 0}));
	XDestroyWindow(display, window);
	ASSERT_TRUE(waitFor([&] { return manage(), !slurp(path("exit")).empty(); }));
}
