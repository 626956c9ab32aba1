#include "EditorMenus.h"
#include "LoadedPanel.h"

#include "vstgui/lib/platform/optionmenupopup.h"

#include "vstgui/lib/platform/x11frame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

// After the test framework: Xlib's macros would break its templates.
#include "PrivateXServer.h"
#include "X11FrameDriver.h"

#include <X11/keysym.h>

using namespace VSTGUI;

namespace
{
// How a person's pointer and keys reach the frame; positions in window pixels.
struct MenuInput
{
	virtual ~MenuInput () = default;
	virtual void click (const CPoint& where) = 0;
	virtual void move (const CPoint& where) = 0;
	// One notch; up is towards the top of the content.
	virtual void wheel (const CPoint& where, bool up) = 0;
	virtual void key (unsigned char virt) = 0;
};

// Straight into the frame's input callbacks, as an offscreen window gives them.
struct FrameInput : MenuInput
{
	explicit FrameInput (CFrame* frame) : frame (frame) {}
	void click (const CPoint& where) override
	{
		CPoint p (where);
		frame->platformOnMouseDown (p, kLButton);
		p = where;
		frame->platformOnMouseUp (p, kLButton);
	}
	void move (const CPoint& where) override
	{
		CPoint p (where);
		frame->platformOnMouseMoved (p, 0);
	}
	void wheel (const CPoint& where, bool up) override
	{
		frame->platformOnMouseWheel (where, kMouseWheelAxisY, up ? 1.f : -1.f, 0);
	}
	void key (unsigned char virt) override
	{
		VstKeyCode k;
		k.virt = virt;
		frame->platformOnKeyDown (k);
	}
	CFrame* frame;
};

// The description's wave and coarse menus in a frame of one window size, filled as the editor
// fills them and driven only through real input.
struct MenuPanel
{
	explicit MenuPanel (double width, unsigned long x11Parent = 0)
	{
		panel.openFrame (width, x11Parent);
		panel.showSourcePage (false);
		for (const char* name : {"Param_SourceS1Wave", "Param_SourceS1Coarse"})
			for (CView* v : panel.named (name))
				if (auto* menu = dynamic_cast<COptionMenu*> (v))
					(std::string (name) == "Param_SourceS1Wave" ? wave : coarse) = menu;
		if (wave)
			fillWaveMenu (wave);
		if (coarse)
			fillCoarseMenu (coarse);
		if (!x11Parent)
			input = std::make_unique<FrameInput> (panel.frame);
	}

	CFrame* frame () const { return panel.frame; }
	OptionMenuPopup* popup () const { return OptionMenuPopup::get (panel.frame); }

	// Clicks the middle of the menu.
	bool open (COptionMenu* menu)
	{
		CRect r (menu->getViewSize ());
		menu->getGlobalTransform ().transform (r);
		input->click (r.getCenter ());
		return popup () != nullptr;
	}

	// Scrolls a column with the wheel until the entry shows whole where the popup may be, as a
	// person would: to the top first, then down a notch at a time. Gives its middle.
	bool reveal (size_t level, int32_t index, CPoint& where)
	{
		auto whole = [&] {
			const CRect r = popup ()->getItemRect (level, index);
			const CRect& area = popup ()->getArea ();
			return r.getHeight () >= OptionMenuPopup::kItemHeight && r.left >= area.left && r.top >= area.top &&
			       r.right <= area.right && r.bottom <= area.bottom;
		};
		const CPoint inColumn = popup ()->getLevelRect (level).getCenter ();
		for (int i = 0; i < 20 && !whole (); ++i)
			input->wheel (inColumn, true);
		for (int i = 0; i < 40 && !whole (); ++i)
			input->wheel (inColumn, false);
		if (!whole ())
			return false;
		where = popup ()->getItemRect (level, index).getCenter ();
		return true;
	}

	// Presses Down until the hover of the open column is on the entry.
	bool keyTo (size_t level, int32_t index)
	{
		for (int i = 0; i < 64 && popup ()->getHoverIndex (level) != index; ++i)
			input->key (VKEY_DOWN);
		return popup ()->getHoverIndex (level) == index;
	}

	LoadedPanel panel;
	std::unique_ptr<MenuInput> input;
	COptionMenu* wave {nullptr};
	COptionMenu* coarse {nullptr};
};

struct Target
{
	int32_t submenuIndex;  // in the top level
	int32_t entry;         // in the submenu
	int32_t tag;
};

std::vector<Target> targetsOf (COptionMenu* menu)
{
	std::vector<Target> out;
	for (int32_t i = 0; i < menu->getNbEntries (); ++i)
		if (COptionMenu* submenu = menu->getSubMenu (i))
			for (int32_t e = 0; e < submenu->getNbEntries (); ++e)
				out.push_back ({i, e, submenu->getEntry (e)->getTag ()});
	return out;
}

// Chooses every entry once with the mouse (wheel, hover, click) and once with the keys, and
// expects each choice to arrive as that submenu's entry.
void expectEveryEntryReachable (MenuPanel& p, COptionMenu* menu, int32_t count, const std::string& label)
{
	const auto targets = targetsOf (menu);
	ASSERT_EQ (static_cast<int32_t> (targets.size ()), count) << label;
	for (const auto& t : targets)
	{
		SCOPED_TRACE (label + ", tag " + std::to_string (t.tag));
		int32_t chosen = -1;
		CPoint where;
		ASSERT_TRUE (p.open (menu));
		ASSERT_TRUE (p.reveal (0, t.submenuIndex, where));
		p.input->move (where);
		ASSERT_EQ (p.popup ()->getNumLevels (), 2u);
		ASSERT_TRUE (p.reveal (1, t.entry, where));
		p.input->move (where);
		p.input->click (where);
		ASSERT_EQ (p.popup (), nullptr);
		EXPECT_EQ (menu->getLastItemMenu (chosen), menu->getSubMenu (t.submenuIndex));
		EXPECT_EQ (chosen, t.entry);

		ASSERT_TRUE (p.open (menu));
		ASSERT_TRUE (p.keyTo (0, t.submenuIndex));
		p.input->key (VKEY_RIGHT);
		ASSERT_TRUE (p.keyTo (1, t.entry));
		p.input->key (VKEY_RETURN);
		ASSERT_EQ (p.popup (), nullptr);
		EXPECT_EQ (menu->getLastItemMenu (chosen), menu->getSubMenu (t.submenuIndex));
		EXPECT_EQ (chosen, t.entry);
	}
}
}

TEST (MenuReach, EveryWaveAndCoarseEntryCanBeChosenWithMouseAndKeysAtEveryWindowSize)
{
	for (double width : {640., 1024., 2560.})
	{
		MenuPanel p (width);
		ASSERT_NE (p.wave, nullptr);
		ASSERT_NE (p.coarse, nullptr);
		ASSERT_EQ (p.wave->getNbEntries (), 34);
		const std::string size = std::to_string (int (width));
		expectEveryEntryReachable (p, p.wave, 256, "wave menu at " + size);
		expectEveryEntryReachable (p, p.coarse, 128, "coarse menu at " + size);
	}
}

TEST (MenuReach, ChosenEntriesCarryTheValueAndItsName)
{
	MenuPanel p (1024);
	ASSERT_NE (p.wave, nullptr);
	int32_t seen = 0;
	for (const auto& t : targetsOf (p.wave))
	{
		EXPECT_EQ (t.tag, seen);
		EXPECT_EQ (p.wave->getSubMenu (t.submenuIndex)->getEntry (t.entry)->getTitle ().getString (), waveName (seen));
		++seen;
	}
	EXPECT_EQ (waveName (0).substr (0, 5), "001: ");
}

// The longest wave submenu at the smallest window, scrolled to its end: written for review and
// checked for what a person sees.
TEST (MenuReach, ScreenshotOfAScrolledSubmenuAtTheSmallestWindow)
{
	MenuPanel p (640);
	ASSERT_NE (p.wave, nullptr);
	ASSERT_TRUE (p.open (p.wave));
	const int32_t oneShot = 29;  // "PCM Wave Group" title at 28, then "One Shot"
	ASSERT_EQ (p.wave->getEntry (oneShot)->getTitle (), "One Shot");
	CPoint where;
	ASSERT_TRUE (p.reveal (0, oneShot, where));
	p.input->move (where);
	ASSERT_TRUE (p.reveal (1, 29, where));
	p.input->move (where);
	auto* popup = p.popup ();
	ASSERT_TRUE (popup->isScrollable (0));
	ASSERT_TRUE (popup->isScrollable (1));
	const CRect column = popup->getLevelRect (1);
	EXPECT_GE (column.top, 0);
	EXPECT_LE (column.bottom, 360);

	auto& window = p.panel.window ();
	window.redrawAll ();
	const std::filesystem::path folder = VIREL_SCREENSHOT_DIR;
	std::filesystem::create_directories (folder);
	EXPECT_TRUE (window.writePNG ((folder / "wave_menu_640.png").string ()));

	// The hovered last entry is highlighted, the column's up arrow is live and its down arrow spent.
	const CRect hovered = popup->getItemRect (1, 29);
	EXPECT_EQ (window.getPixel (int (hovered.left) + 3, int (hovered.top) + 3), CColor (52, 120, 220, 255));
	auto darkest = [&] (const CRect& r) {
		int least = 255 * 3;
		for (int y = int (r.top); y < int (r.bottom); ++y)
			for (int x = int (r.left); x < int (r.right); ++x)
			{
				CColor c = window.getPixel (x, y);
				least = std::min (least, c.red + c.green + c.blue);
			}
		return least;
	};
	const CRect upArrow (column.left + 1, column.top + 1, column.right - 1, column.top + 1 + OptionMenuPopup::kScrollerHeight);
	const CRect downArrow (column.left + 1, column.bottom - 1 - OptionMenuPopup::kScrollerHeight, column.right - 1, column.bottom - 1);
	EXPECT_LT (darkest (upArrow), 150);
	EXPECT_GT (darkest (downArrow), 300);
}

// The same on X11, where the columns are windows of their own on a 2560 x 1440 screen and the
// events come from the server to whichever window is under the pointer.
struct X11Input : MenuInput
{
	X11Input (Display* display, X11PlatformFrame& window) : driver (display, window) {}
	void click (const CPoint& where) override { driver.click (where); }
	void move (const CPoint& where) override { driver.move (where); }
	void wheel (const CPoint& where, bool up) override { driver.wheel (where, up); }
	void key (unsigned char virt) override
	{
		driver.key (virt == VKEY_DOWN ? XK_Down : virt == VKEY_RIGHT ? XK_Right : virt == VKEY_RETURN ? XK_Return : XK_Escape);
	}
	X11FrameDriver driver;
};

TEST (MenuReach, OnX11EveryEntryCanBeChosenWithMouseAndKeysAtEveryWindowSize)
{
	static PrivateXServer server ("2560x1440x24");
	if (server.display == nullptr)
		GTEST_SKIP () << "Xvfb is not available";
	for (double width : {640., 1024., 2560.})
	{
		const unsigned int height = static_cast<unsigned int> (width * 9 / 16);
		Window parent = XCreateSimpleWindow (server.display, DefaultRootWindow (server.display), 0, 0,
		                                     static_cast<unsigned int> (width), height, 0, 0, 0);
		XMapWindow (server.display, parent);
		XSync (server.display, False);
		{
			MenuPanel p (width, parent);
			auto* window = dynamic_cast<X11PlatformFrame*> (p.frame ()->getPlatformFrame ());
			ASSERT_NE (window, nullptr);
			p.input = std::make_unique<X11Input> (server.display, *window);
			ASSERT_NE (p.wave, nullptr);
			const std::string size = std::to_string (int (width));
			expectEveryEntryReachable (p, p.wave, 256, "X11 wave menu at " + size);
			expectEveryEntryReachable (p, p.coarse, 128, "X11 coarse menu at " + size);
		}
		XDestroyWindow (server.display, parent);
	}
}
