#include "TestBitmaps.h"
#include "TestFrame.h"

#include "vstgui/lib/platform/optionmenupopup.h"

#include <gtest/gtest.h>

// After the test framework: Xlib's macros would break its templates.
#include "PrivateXServer.h"
#include "X11FrameDriver.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <CoreFoundation/CoreFoundation.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

using namespace VSTGUI;

namespace
{
struct X11Fixture : ::testing::Test
{
	void SetUp () override
	{
		static PrivateXServer privateServer;
		display = privateServer.display;
		if (display == nullptr)
			GTEST_SKIP () << "Xvfb is not available";
		parent = XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, 200, 100, 0, 0, 0);
		XMapWindow (display, parent);
		XSync (display, False);
		frame = new CFrame (CRect (0, 0, 200, 100), &editor);
	}
	void TearDown () override
	{
		if (frame)
			frame->close ();
		if (display)
			XDestroyWindow (display, parent);
	}

	bool open ()
	{
		if (!frame->open (reinterpret_cast<void*> (uintptr_t (parent)), PlatformType::kX11EmbedWindowID))
			return false;
		driver.emplace (display, window ());
		return true;
	}
	X11PlatformFrame& window () { return *dynamic_cast<X11PlatformFrame*> (frame->getPlatformFrame ()); }
	unsigned long pixel (int x, int y) { return driver->pixel (window ().getWindow (), x, y); }

	Display* display {nullptr};
	Window parent {0};
	RecordingEditor editor;
	CFrame* frame {nullptr};
	std::optional<X11FrameDriver> driver;
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
	ASSERT_TRUE (open ());
	EXPECT_EQ (window ().getPlatformType (), PlatformType::kX11EmbedWindowID);
	ASSERT_TRUE (driver->pumpUntil ([&] { return pixel (30, 20) == 0xFF0000; }));

	driver->pointer (ButtonPress, Button1, CPoint (30, 20));
	ASSERT_TRUE (driver->pumpUntil ([&] { return pixel (30, 20) == 0x00FF00; }));
	driver->pointer (ButtonRelease, Button1, CPoint (30, 20), Button1Mask);
	ASSERT_TRUE (driver->pumpUntil ([&] { return recorder.values.size () == 2; }));
	EXPECT_EQ (recorder.values, (std::vector<float> {1.f, 0.f}));
	EXPECT_EQ (editor.calls, (std::vector<std::string> {"begin 5", "end 5"}));
}

TEST_F (X11Fixture, KeysTypeIntoTheFocusedTextEdit)
{
	auto* edit = new CTextEdit (CRect (0, 0, 200, 40), nullptr, -1, "");
	frame->addView (edit);
	ASSERT_TRUE (open ());
	driver->click (CPoint (20, 20));
	ASSERT_TRUE (driver->pumpUntil ([&] { return frame->getFocusView () == edit; }));
	driver->key (XK_a, ShiftMask);
	driver->key (XK_space);
	driver->key (XK_b);
	driver->key (XK_Return);
	ASSERT_TRUE (driver->pumpUntil ([&] { return frame->getFocusView () == nullptr; }));
	EXPECT_EQ (edit->getText (), "A b");
}

// The frame is 200 x 100 at the top left of a 640 x 480 screen; a 40-entry menu near its bottom is
// 882 pixels tall, so its column leaves the frame and is cut to the screen, where it scrolls.
TEST_F (X11Fixture, APopupMenuHasWindowsOfItsOwnOnTheScreenAndScrollsThere)
{
	ValueRecorder recorder;
	auto* menu = new COptionMenu (CRect (10, 70, 110, 90), &recorder, -1);
	for (int i = 0; i < 40; ++i)
		menu->addEntry (("entry " + std::to_string (i)).c_str ());
	auto* sub = new COptionMenu ();
	sub->addEntry ("inner");
	menu->addEntry (sub, "more");
	sub->forget ();
	frame->addView (menu);
	ASSERT_TRUE (open ());

	// A click outside the popup, on the frame, only closes it.
	driver->click (CPoint (50, 80));
	ASSERT_EQ (window ().getPopupWindows ().size (), 1u);
	driver->click (CPoint (190, 10));
	EXPECT_TRUE (window ().getPopupWindows ().empty ());
	EXPECT_TRUE (recorder.values.empty ());

	driver->click (CPoint (50, 80));
	const auto popups = window ().getPopupWindows ();
	ASSERT_EQ (popups.size (), 1u);
	XWindowAttributes attributes;
	XGetWindowAttributes (display, popups[0], &attributes);
	EXPECT_TRUE (attributes.override_redirect);
	const CRect onScreen = X11FrameDriver::screenRect (display, popups[0]);
	EXPECT_EQ (onScreen.top, 0);
	EXPECT_EQ (onScreen.bottom, 480);
	EXPECT_TRUE (driver->pumpUntil ([&] { return driver->pixel (popups[0], 5, onScreen.getHeight () / 2) == 0xF5F5F5; }));

	auto* popup = OptionMenuPopup::get (frame);
	ASSERT_TRUE (popup && popup->isScrollable (0));
	EXPECT_TRUE (popup->getItemRect (0, 40).isEmpty ());
	for (int i = 0; i < 30 && popup->getItemRect (0, 40).isEmpty (); ++i)
		driver->wheel (popup->getLevelRect (0).getCenter (), false);
	const CRect more = popup->getItemRect (0, 40);
	ASSERT_FALSE (more.isEmpty ());
	driver->move (more.getCenter ());
	const auto both = window ().getPopupWindows ();
	ASSERT_EQ (both.size (), 2u);
	EXPECT_GE (X11FrameDriver::screenRect (display, both[1]).left, onScreen.right - 1);

	// Keys reach the popup through its keyboard grab.
	driver->key (XK_Left);
	driver->key (XK_Up);
	EXPECT_EQ (window ().getPopupWindows ().size (), 1u);
	driver->key (XK_Return);
	EXPECT_TRUE (window ().getPopupWindows ().empty ());
	EXPECT_EQ (recorder.values, (std::vector<float> {39.f}));
}

// Another program on the desktop holds the clipboard: the field pastes its text with Ctrl+V, and
// what the field copies is what that program then gets.
TEST_F (X11Fixture, TextFieldsPasteFromAndCopyToTheDesktopClipboard)
{
	auto* edit = new CTextEdit (CRect (0, 0, 200, 40), nullptr, -1, "");
	frame->addView (edit);
	ASSERT_TRUE (open ());
	const Atom clipboard = XInternAtom (display, "CLIPBOARD", False);
	const Atom utf8 = XInternAtom (display, "UTF8_STRING", False);
	const Window other = XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, 1, 1, 0, 0, 0);
	XSetSelectionOwner (display, clipboard, other, CurrentTime);
	XSync (display, False);

	driver->click (CPoint (20, 20));
	driver->key (XK_v, ControlMask);
	const std::string offered = "Warm Pad\n";
	ASSERT_TRUE (driver->pumpUntil ([&] {
		while (XPending (display))
		{
			XEvent e;
			XNextEvent (display, &e);
			if (e.type != SelectionRequest)
				continue;
			XEvent reply {};
			reply.xselection.type = SelectionNotify;
			reply.xselection.requestor = e.xselectionrequest.requestor;
			reply.xselection.selection = e.xselectionrequest.selection;
			reply.xselection.target = e.xselectionrequest.target;
			reply.xselection.property = e.xselectionrequest.property;
			XChangeProperty (display, e.xselectionrequest.requestor, e.xselectionrequest.property, utf8, 8, PropModeReplace,
			                 reinterpret_cast<const unsigned char*> (offered.data ()), static_cast<int> (offered.size ()));
			XSendEvent (display, e.xselectionrequest.requestor, False, NoEventMask, &reply);
			XSync (display, False);
		}
		return edit->getPlatformText () == "Warm Pad ";
	}));

	driver->key (XK_a, ControlMask);
	driver->key (XK_c, ControlMask);
	EXPECT_EQ (XGetSelectionOwner (display, clipboard), window ().getWindow ());
	const Atom into = XInternAtom (display, "TEST_PASTE", False);
	XConvertSelection (display, clipboard, utf8, into, other, CurrentTime);
	XSync (display, False);
	std::string received;
	ASSERT_TRUE (driver->pumpUntil ([&] {
		XEvent e;
		if (!XCheckTypedWindowEvent (display, other, SelectionNotify, &e) || e.xselection.property == None)
			return false;
		Atom type;
		int format;
		unsigned long count, remaining;
		unsigned char* data = nullptr;
		XGetWindowProperty (display, other, into, 0, 1024, True, AnyPropertyType, &type, &format, &count, &remaining, &data);
		received.assign (reinterpret_cast<const char*> (data), count);
		XFree (data);
		return true;
	}));
	EXPECT_EQ (received, "Warm Pad ");
	XDestroyWindow (display, other);
}

namespace
{
// A spot of the panel that asks a question while its button is held down, as the editor's logo does.
struct AskingView : CView
{
	explicit AskingView (const CRect& r) : CView (r) {}
	void draw (CDrawContext* context) override
	{
		context->setFillColor (kRedCColor);
		context->drawRect (getViewSize (), kDrawFilled);
	}
	CMouseEventResult onMouseDown (CPoint&, const CButtonState&) override
	{
		events.push_back ("down");
		if (events.size () == 1)
			CFUserNotificationDisplayAlert (0, kCFUserNotificationPlainAlertLevel, nullptr, nullptr, nullptr, CFSTR ("Virel"),
			                                CFSTR ("Open the web site?"), CFSTR ("Cancel"), CFSTR ("OK"), nullptr, &answer);
		return kMouseEventHandled;
	}
	CMouseEventResult onMouseUp (CPoint&, const CButtonState&) override
	{
		events.push_back ("up");
		return kMouseEventHandled;
	}
	std::vector<std::string> events;
	CFOptionFlags answer {99};
};
}

// While the question is open the panel is uncovered, clicked and typed on: it is drawn again at once, the
// click and the key never arrive, and the release of the click that asked arrives after the answer.
TEST_F (X11Fixture, AQuestionStaysAboveThePanelWhichStaysDrawnAndTakesNoInputMeanwhile)
{
	auto* view = new AskingView (CRect (0, 0, 200, 100));
	frame->addView (view);
	ASSERT_TRUE (open ());
	ASSERT_TRUE (driver->pumpUntil ([&] { return pixel (30, 20) == 0xFF0000; }));

	const auto dir = std::filesystem::temp_directory_path () / ("modal-" + std::to_string (getpid ()));
	std::filesystem::create_directories (dir);
	std::filesystem::create_symlink (VIREL_FAKE_DIALOG, dir / "zenity");
	const std::string path = getenv ("PATH") ? getenv ("PATH") : "";
	setenv ("PATH", (dir.string () + ":" + path).c_str (), 1);
	setenv ("FAKE_DIALOG_LOG", (dir / "log").c_str (), 1);
	setenv ("FAKE_DIALOG_PANEL", std::to_string (window ().getWindow ()).c_str (), 1);
	setenv ("FAKE_DIALOG_X", "30", 1);
	setenv ("FAKE_DIALOG_Y", "20", 1);
	setenv ("FAKE_DIALOG_EXIT", "dismissed", 1);

	driver->pointer (ButtonPress, Button1, CPoint (30, 20));
	setenv ("PATH", path.c_str (), 1);
	EXPECT_EQ (view->answer, CFOptionFlags (kCFUserNotificationCancelResponse));
	std::ifstream in (dir / "log");
	const std::string log ((std::istreambuf_iterator<char> (in)), {});
	EXPECT_NE (log.find ("--attach=" + std::to_string (parent) + "\n--modal\n"), std::string::npos) << log;
	EXPECT_NE (log.find ("\ndrawn\n"), std::string::npos) << log;
	EXPECT_EQ (view->events, (std::vector<std::string> {"down"}));
	driver->pump ();
	EXPECT_EQ (view->events, (std::vector<std::string> {"down", "up"}));
	std::filesystem::remove_all (dir);
}
