#include "TestBitmaps.h"
#include "TestFrame.h"

#include "vstgui/lib/platform/x11frame.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

using namespace VSTGUI;

namespace
{
// A private X server for the test, so no window shows on anybody's screen.
struct PrivateXServer
{
	PrivateXServer ()
	{
		int fds[2];
		if (pipe (fds) != 0)
			return;
		std::string fd = std::to_string (fds[1]);
		const char* argv[] = {"Xvfb", "-displayfd", fd.c_str (), "-screen", "0", "640x480x24", "-nolisten", "tcp", nullptr};
		if (posix_spawnp (&pid, "Xvfb", nullptr, nullptr, const_cast<char**> (argv), environ) != 0)
			pid = -1;
		close (fds[1]);
		std::string number;
		pollfd p {fds[0], POLLIN, 0};
		while (pid > 0 && poll (&p, 1, 5000) > 0)
		{
			char c;
			if (read (fds[0], &c, 1) != 1 || c == '\n')
				break;
			number += c;
		}
		close (fds[0]);
		if (!number.empty ())
		{
			setenv ("DISPLAY", (":" + number).c_str (), 1);
			display = XOpenDisplay (nullptr);
		}
	}
	~PrivateXServer ()
	{
		if (display)
			XCloseDisplay (display);
		if (pid > 0)
		{
			kill (pid, SIGTERM);
			waitpid (pid, nullptr, 0);
		}
	}

	pid_t pid {-1};
	Display* display {nullptr};
};

struct X11Fixture : ::testing::Test
{
	void SetUp () override
	{
		static PrivateXServer privateServer;
		server.display = privateServer.display;
		if (server.display == nullptr)
			GTEST_SKIP () << "Xvfb is not available";
		parent = XCreateSimpleWindow (server.display, DefaultRootWindow (server.display), 0, 0, 200, 100, 0, 0, 0);
		XMapWindow (server.display, parent);
		XSync (server.display, False);
		frame = new CFrame (CRect (0, 0, 200, 100), &editor);
	}
	void TearDown () override
	{
		if (frame)
			frame->close ();
		if (server.display)
			XDestroyWindow (server.display, parent);
	}

	X11PlatformFrame& window () { return *dynamic_cast<X11PlatformFrame*> (frame->getPlatformFrame ()); }

	// Runs the frame's event handling until the condition holds (or two seconds passed).
	bool pumpUntil (const std::function<bool ()>& condition)
	{
		for (int i = 0; i < 200; ++i)
		{
			window ().processEvents ();
			if (condition ())
				return true;
			std::this_thread::sleep_for (std::chrono::milliseconds (10));
		}
		return false;
	}

	unsigned long pixel (int x, int y)
	{
		XImage* image = XGetImage (server.display, window ().getWindow (), x, y, 1, 1, AllPlanes, ZPixmap);
		unsigned long value = XGetPixel (image, 0, 0) & 0xFFFFFF;
		XDestroyImage (image);
		return value;
	}

	void send (int type, unsigned int detail, int x, int y, unsigned int state = 0)
	{
		XEvent e {};
		e.type = type;
		if (type == KeyPress || type == KeyRelease)
		{
			e.xkey.window = window ().getWindow ();
			e.xkey.root = DefaultRootWindow (server.display);
			e.xkey.keycode = detail;
			e.xkey.state = state;
			e.xkey.same_screen = True;
		}
		else
		{
			e.xbutton.window = window ().getWindow ();
			e.xbutton.root = DefaultRootWindow (server.display);
			e.xbutton.button = detail;
			e.xbutton.x = x;
			e.xbutton.y = y;
			e.xbutton.state = state;
			e.xbutton.same_screen = True;
			e.xbutton.time = ++time;
		}
		XSendEvent (server.display, window ().getWindow (), False, NoEventMask, &e);
		XSync (server.display, False);
	}

	struct
	{
		Display* display {nullptr};
	} server;
	Window parent {0};
	RecordingEditor editor;
	CFrame* frame {nullptr};
	Time time {1000};
};

}

TEST_F (X11Fixture, OpeningIntoAMissingWindowFails)
{
	EXPECT_FALSE (frame->open (reinterpret_cast<void*> (uintptr_t (0x7FFFFF)), PlatformType::kX11EmbedWindowID));
	EXPECT_FALSE (frame->isOpen ());
}

TEST_F (X11Fixture, DrawsTheFrameAndTakesClicksInFramePixels)
{
	auto strip = owned (makeStrip (40, 20, {kRedCColor, kGreenCColor}));
	ValueRecorder recorder;
	frame->addView (new CKickButton (CRect (10, 10, 50, 30), &recorder, 5, 20, strip));
	ASSERT_TRUE (frame->open (reinterpret_cast<void*> (uintptr_t (parent)), PlatformType::kX11EmbedWindowID));
	EXPECT_EQ (window ().getPlatformType (), PlatformType::kX11EmbedWindowID);
	ASSERT_TRUE (pumpUntil ([&] { return pixel (30, 20) == 0xFF0000; }));

	send (ButtonPress, Button1, 30, 20);
	ASSERT_TRUE (pumpUntil ([&] { return pixel (30, 20) == 0x00FF00; }));
	send (ButtonRelease, Button1, 30, 20, Button1Mask);
	ASSERT_TRUE (pumpUntil ([&] { return recorder.values.size () == 2; }));
	EXPECT_EQ (recorder.values, (std::vector<float> {1.f, 0.f}));
	EXPECT_EQ (editor.calls, (std::vector<std::string> {"begin 5", "end 5"}));
}

TEST_F (X11Fixture, KeysTypeIntoTheFocusedTextEdit)
{
	auto* edit = new CTextEdit (CRect (0, 0, 200, 40), nullptr, -1, "");
	frame->addView (edit);
	ASSERT_TRUE (frame->open (reinterpret_cast<void*> (uintptr_t (parent)), PlatformType::kX11EmbedWindowID));
	send (ButtonPress, Button1, 20, 20);
	send (ButtonRelease, Button1, 20, 20, Button1Mask);
	ASSERT_TRUE (pumpUntil ([&] { return frame->getFocusView () == edit; }));
	send (KeyPress, XKeysymToKeycode (server.display, XK_a), 0, 0, ShiftMask);
	send (KeyPress, XKeysymToKeycode (server.display, XK_space), 0, 0);
	send (KeyPress, XKeysymToKeycode (server.display, XK_b), 0, 0);
	send (KeyPress, XKeysymToKeycode (server.display, XK_Return), 0, 0);
	ASSERT_TRUE (pumpUntil ([&] { return frame->getFocusView () == nullptr; }));
	EXPECT_EQ (edit->getText (), "A b");
}
