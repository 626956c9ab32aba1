#pragma once

#include "vstgui/lib/platform/offscreenframe.h"
#include "vstgui/vstgui.h"
#include "vstgui/vstgui_uidescription.h"

#include <map>
#include <string>
#include <vector>

// The embedded description parsed by the toolkit and its template created, optionally in an open
// offscreen frame scaled as the editor scales it.
struct LoadedPanel
{
	LoadedPanel ();
	~LoadedPanel ();

	// Puts the template into a frame of the given width (16:9), scaled to fill it: offscreen, or in
	// the X11 window whose id is given.
	void openFrame (double width, unsigned long x11Parent = 0);
	VSTGUI::OffscreenPlatformFrame& window () const;

	// Every view under the template with the given custom-view-name, in tree order.
	std::vector<VSTGUI::CView*> named (const std::string& name) const;
	VSTGUI::CView* first (const std::string& name) const;

	// The editor's page states: the play page, a source page or the common page, with the glyph
	// container hidden as the display hides it.
	void showPlayPage ();
	void showSourcePage (bool keyTracking);
	void showCommonPage ();

	std::string text;
	VSTGUI::Xml::MemoryContentProvider provider;
	VSTGUI::UIDescription* description {nullptr};
	bool parsed {false};
	VSTGUI::CView* root {nullptr};
	VSTGUI::CFrame* frame {nullptr};
	std::vector<std::pair<std::string, VSTGUI::CView*>> views;  // name (may be empty), view; tree order
};

std::string customViewName (VSTGUI::CView* view);
