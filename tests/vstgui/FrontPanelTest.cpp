#include "TestFrame.h"

#include "editor/resources/EditorResources.h"
#include "vstgui/vstgui_uidescription.h"

#include <gtest/gtest.h>

#include <cairo/cairo.h>

#include <map>
#include <typeinfo>

using namespace VSTGUI;

// The editor's own description, as the toolkit reads it.
namespace
{
struct FrontPanel
{
	FrontPanel ()
	: provider (zenteditor::getData_uiXml (), static_cast<uint32_t> (zenteditor::getDataSize_uiXml ()))
	{
		description = new UIDescription (&provider);
	}
	~FrontPanel () { description->forget (); }

	Xml::MemoryContentProvider provider;
	UIDescription* description;
};

void collect (CView* view, std::map<std::string, int>& classes, std::map<std::string, CView*>& named)
{
	std::string name = typeid (*view).name ();
	classes[name.substr (name.find ('C'))]++;
	uint32_t size = 0;
	if (view->getAttributeSize (makeViewAttributeID ("uicv"), size) && size > 1)
	{
		std::vector<char> text (size);
		view->getAttribute (makeViewAttributeID ("uicv"), size, text.data (), size);
		named.emplace (text.data (), view);
	}
	if (auto* container = view->asViewContainer ())
		for (uint32_t i = 0; i < container->getNbViews (); ++i)
			collect (container->getView (i), classes, named);
}

CColor bitmapPixel (CBitmap* bitmap, int x, int y)
{
	cairo_surface_t* s = bitmap->getPlatformSurface ();
	cairo_surface_flush (s);
	uint32_t argb = *reinterpret_cast<const uint32_t*> (cairo_image_surface_get_data (s) +
	                                                     y * cairo_image_surface_get_stride (s) + x * 4);
	return CColor ((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, argb >> 24);
}
}

TEST (FrontPanel, BuildsEveryViewOfTheTemplate)
{
	FrontPanel panel;
	ASSERT_TRUE (panel.description->parse ());
	auto root = owned (panel.description->createView ("Virel", nullptr));
	ASSERT_TRUE (root);
	EXPECT_EQ (root->getViewSize (), CRect (0, 0, 2560, 1440));
	std::map<std::string, int> classes;
	std::map<std::string, CView*> named;
	for (uint32_t i = 0; i < root->asViewContainer ()->getNbViews (); ++i)
		collect (root->asViewContainer ()->getView (i), classes, named);
	// Mangled names end with the class name: "N6VSTGUI5CViewE" -> "CViewE".
	EXPECT_EQ (classes["CViewE"], 132);
	EXPECT_EQ (classes["CTextLabelE"], 85);
	EXPECT_EQ (classes["CKickButtonE"], 28);
	EXPECT_EQ (classes["CAnimKnobE"], 24);
	EXPECT_EQ (classes["COptionMenuE"], 10);
	EXPECT_EQ (classes["CViewContainerE"], 7);
	EXPECT_EQ (classes["CTextEditE"], 2);

	auto* coarse = dynamic_cast<CAnimKnob*> (named["Param_SourceS1Fine"]);
	ASSERT_TRUE (coarse);
	EXPECT_EQ (coarse->getNumSubPixmaps (), 63);
	EXPECT_EQ (coarse->getTag (), -1);
}

TEST (FrontPanel, AKickButtonDrawsTheTopFrameAtZeroAndTheBottomFrameAtOne)
{
	FrontPanel panel;
	ASSERT_TRUE (panel.description->parse ());
	TestFrame t (CRect (0, 0, 2560, 1440));
	CView* root = panel.description->createView ("Virel", nullptr);
	t.frame->addView (root);
	std::map<std::string, int> classes;
	std::map<std::string, CView*> named;
	collect (root, classes, named);
	auto* button = dynamic_cast<CKickButton*> (named["btModePlay"]);
	ASSERT_TRUE (button);
	CBitmap* bitmap = button->getBackground ();
	ASSERT_TRUE (bitmap);
	const int frameHeight = static_cast<int> (button->getHeightOfOneImage ());
	ASSERT_EQ (bitmap->getHeight (), 2 * frameHeight);

	// A point of the button where both frames are opaque and differ, away from the caption.
	int px = -1, py = -1;
	for (int y = 2; y < frameHeight - 2 && px < 0; ++y)
		for (int x = 2; x < 30 && px < 0; ++x)
		{
			CColor top = bitmapPixel (bitmap, x, y);
			CColor bottom = bitmapPixel (bitmap, x, y + frameHeight);
			if (top.alpha == 255 && bottom.alpha == 255 && top != bottom)
				px = x, py = y;
		}
	ASSERT_GE (px, 0);
	CPoint where (button->getViewSize ().left + px, button->getViewSize ().top + py);
	button->translateToGlobal (where);
	EXPECT_EQ (t.pixel (int (where.x), int (where.y)), bitmapPixel (bitmap, px, py));
	button->setValue (1.f);
	t.frame->idle ();
	EXPECT_EQ (t.pixel (int (where.x), int (where.y)), bitmapPixel (bitmap, px, py + frameHeight));
}
