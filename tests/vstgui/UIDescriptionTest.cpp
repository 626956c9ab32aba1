#include "LogCapture.h"
#include "TestBitmaps.h"
#include "TestData.h"
#include "TestFrame.h"

#include "vstgui/vstgui_uidescription.h"

#include <gtest/gtest.h>

#include <cairo/cairo.h>

using namespace VSTGUI;

namespace
{
std::string base64 (const std::vector<uint8_t>& bytes)
{
	const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
	std::string out;
	size_t i = 0;
	for (; i + 2 < bytes.size (); i += 3)
	{
		uint32_t v = bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2];
		for (int k = 3; k >= 0; --k)
			out += alphabet[(v >> (k * 6)) & 63];
		if (out.size () % 77 == 76)
			out += "\n";
	}
	if (i < bytes.size ())
	{
		uint32_t v = bytes[i] << 16 | (i + 1 < bytes.size () ? bytes[i + 1] << 8 : 0);
		out += alphabet[(v >> 18) & 63];
		out += alphabet[(v >> 12) & 63];
		out += i + 1 < bytes.size () ? alphabet[(v >> 6) & 63] : '=';
		out += '=';
	}
	return out;
}

std::string pngOf (const std::vector<CColor>& frames, int width, int frameHeight)
{
	auto strip = owned (makeStrip (width, frameHeight, frames));
	return base64 (pngBytes (*strip));
}

// Owns the text, its provider and the description built over it.
struct Loaded
{
	explicit Loaded (std::string xml) : text (std::move (xml)), provider (text.data (), static_cast<uint32_t> (text.size ()))
	{
		description = new UIDescription (&provider);
	}
	~Loaded () { description->forget (); }

	std::string text;
	Xml::MemoryContentProvider provider;
	UIDescription* description;
};

std::string customName (CView* view)
{
	uint32_t size = 0;
	if (!view->getAttributeSize (makeViewAttributeID ("uicv"), size))
		return "<none>";
	std::vector<char> buffer (size);
	view->getAttribute (makeViewAttributeID ("uicv"), size, buffer.data (), size);
	return std::string (buffer.data (), size);
}

const std::string kHead = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<vstgui-ui-description version=\"1\">\n";
const std::string kTail = "</vstgui-ui-description>\n";

std::string panelDescription ()
{
	return kHead + "<bitmaps>\n"
	       "  <bitmap name=\"button\" path=\"button.png\"><data encoding=\"base64\"><![CDATA[" +
	       pngOf ({kRedCColor, kGreenCColor}, 20, 10) +
	       "]]></data></bitmap>\n"
	       "  <bitmap name=\"strip\" path=\"strip.png\"><data encoding=\"base64\">" +
	       pngOf (std::vector<CColor> (9, kBlueCColor), 10, 10) +
	       "</data></bitmap>\n"
	       "  <bitmap name=\"nopath\"><data encoding=\"base64\">" +
	       pngOf ({kRedCColor}, 4, 4) +
	       "</data></bitmap>\n"
	       "</bitmaps>\n"
	       "<fonts><font name=\"big\" font-name=\"Arial\" size=\"36\" bold=\"true\" italic=\"1\"/></fonts>\n"
	       "<colors><color name=\"text\" rgba=\"#00FF56FF\"/></colors>\n"
	       "<variables><var name=\"wide\" value=\"300, 40\"/></variables>\n"
	       "<template name=\"Panel\" class=\"CViewContainer\" size=\"400, 300\" minSize=\"1, 1\" "
	       "custom-view-name=\"bg\" background-color=\"#102030\">\n"
	       "  <view class=\"CKickButton\" origin=\"10, 10\" size=\"20, 10\" bitmap=\"button\" height-of-one-image=\"10\" "
	       "custom-view-name=\"kick\"/>\n"
	       "  <view class=\"CKickButton\" origin=\"40, 10\" size=\"20, 10\" bitmap=\"button\" custom-view-name=\"noheight\"/>\n"
	       "  <view class=\"CKickButton\" origin=\"70, 10\" size=\"20, 10\" bitmap=\"button\" height-of-one-image=\"10.0\" "
	       "custom-view-name=\"decimal\"/>\n"
	       "  <view class=\"CAnimKnob\" origin=\"10, 40\" size=\"10, 10\" bitmap=\"strip\" height-of-one-image=\"10\" "
	       "sub-pixmaps=\"3\" min-value=\"60\" max-value=\"108\" default-value=\"0.5\" angle-start=\"135\" "
	       "angle-range=\"270\" custom-view-name=\"knob\"/>\n"
	       "  <view class=\"CTextLabel\" origin=\"0, 60\" size=\"wide\" font=\"big\" font-color=\"text\" "
	       "text-alignment=\"left\" transparent=\"true\" title=\"two\\nlines\" custom-view-name=\"label\" "
	       "tooltip=\"A &amp;&amp; B\"/>\n"
	       "  <view class=\"CTextEdit\" origin=\"0, 100\" size=\"100, 20\" font-color=\"#FFFFFF\" "
	       "immediate-text-change=\"true\" custom-view-name=\"\"/>\n"
	       "  <view class=\"COptionMenu\" origin=\"0, 130\" size=\"100, 20\" back-color=\"~ RedCColor\"/>\n"
	       "  <view class=\"CView\" origin=\"0, 160\" size=\"4, 4\" bitmap=\"nopath\" mouse-enabled=\"false\" "
	       "custom-view-name=\"plain\"><attribute id=\"abcd\" value=\"raw\"/></view>\n"
	       "  <view class=\"SomeCustomView\" origin=\"0, 170\" size=\"5, 5\" custom-view-name=\"custom\">\n"
	       "    <view template=\"Row\" origin=\"1, 1\"/>\n"
	       "  </view>\n"
	       "</template>\n"
	       "<template name=\"Row\" class=\"CViewContainer\" size=\"3, 3\" transparent=\"true\">\n"
	       "  <view class=\"CView\" custom-view-name=\"rowchild\"/>\n"
	       "</template>\n" +
	       kTail;
}

CView* child (CView* container, uint32_t index)
{
	return container->asViewContainer ()->getView (index);
}
}

TEST (UIDescription, BuildsTheTemplateWithItsAttributesAndChildrenInDocumentOrder)
{
	Loaded loaded (panelDescription ());
	ASSERT_TRUE (loaded.description->parse ());
	EXPECT_TRUE (loaded.description->parse ());
	auto root = owned (loaded.description->createView ("Panel", nullptr));
	ASSERT_TRUE (root);
	EXPECT_EQ (root->getViewSize (), CRect (0, 0, 400, 300));
	EXPECT_EQ (customName (root), std::string ("bg\0", 3));
	uint32_t size = 0;
	ASSERT_TRUE (root->getAttributeSize (makeViewAttributeID ("uitl"), size));
	EXPECT_EQ (size, 6u);
	EXPECT_EQ (root->asViewContainer ()->getBackgroundColor (), CColor (0x10, 0x20, 0x30, 255));
	ASSERT_EQ (root->asViewContainer ()->getNbViews (), 9u);
	const char* order[] = {"kick", "noheight", "decimal", "knob", "label", "", "<none>", "plain", "custom"};
	for (uint32_t i = 0; i < 9; ++i)
	{
		std::string name = customName (child (root, i));
		if (name != "<none>")
			name.pop_back ();
		EXPECT_EQ (name, order[i]) << i;
	}
}

TEST (UIDescription, ControlsCarryTagMinusOneAndTheAttributeOrderOfTheToolkit)
{
	Loaded loaded (panelDescription ());
	ASSERT_TRUE (loaded.description->parse ());
	auto root = owned (loaded.description->createView ("Panel", nullptr));

	auto* kick = dynamic_cast<CKickButton*> (child (root, 0));
	ASSERT_TRUE (kick);
	EXPECT_EQ (kick->getTag (), -1);
	EXPECT_EQ (kick->getHeightOfOneImage (), 10);
	EXPECT_EQ (kick->getViewSize (), CRect (10, 10, 30, 20));
	// Without a height of one image (or with one that is not an integer) the height is taken
	// from the view before its size is applied: zero.
	EXPECT_EQ (dynamic_cast<CKickButton*> (child (root, 1))->getHeightOfOneImage (), 0);
	EXPECT_EQ (dynamic_cast<CKickButton*> (child (root, 2))->getHeightOfOneImage (), 0);

	auto* knob = dynamic_cast<CAnimKnob*> (child (root, 3));
	ASSERT_TRUE (knob);
	EXPECT_EQ (knob->getNumSubPixmaps (), 9);
	EXPECT_EQ (knob->getValue (), 60.f);
	EXPECT_EQ (knob->getMin (), 60.f);
	EXPECT_EQ (knob->getMax (), 108.f);
	EXPECT_NEAR (knob->getStartAngle (), 3 * M_PI / 4, 1e-6);
	EXPECT_NEAR (knob->getRangeAngle (), 3 * M_PI / 2, 1e-6);
	EXPECT_EQ (knob->getTag (), -1);

	auto* label = dynamic_cast<CTextLabel*> (child (root, 4));
	ASSERT_TRUE (label);
	EXPECT_EQ (label->getText (), "two\nlines");
	EXPECT_EQ (label->getFontColor (), CColor (0, 255, 86, 255));
	EXPECT_EQ (label->getHoriAlign (), kLeftText);
	EXPECT_TRUE (label->getTransparency ());
	EXPECT_EQ (label->getViewSize (), CRect (0, 60, 300, 100));
	EXPECT_EQ (label->getFont ()->getName (), "Arial");
	EXPECT_EQ (label->getFont ()->getSize (), 36);
	EXPECT_EQ (label->getFont ()->getStyle (), kBoldFace);
	char tooltip[32] = {0};
	uint32_t outSize = 0;
	ASSERT_TRUE (label->getAttribute (kCViewTooltipAttribute, sizeof (tooltip), tooltip, outSize));
	EXPECT_STREQ (tooltip, "A && B");

	auto* edit = dynamic_cast<CTextEdit*> (child (root, 5));
	ASSERT_TRUE (edit);
	EXPECT_TRUE (edit->getImmediateTextChange ());
	EXPECT_EQ (edit->getFontColor (), kWhiteCColor);
	EXPECT_EQ (edit->getTag (), -1);
	ASSERT_TRUE (edit->getAttributeSize (makeViewAttributeID ("uicv"), outSize));
	EXPECT_EQ (outSize, 1u);

	auto* menu = dynamic_cast<COptionMenu*> (child (root, 6));
	ASSERT_TRUE (menu);
	EXPECT_EQ (menu->getBackColor (), kRedCColor);
	EXPECT_EQ (menu->getNbEntries (), 0);

	CView* plain = child (root, 7);
	EXPECT_EQ (plain->getBackground (), nullptr);
	EXPECT_FALSE (plain->getMouseEnabled ());
	char raw[8];
	ASSERT_TRUE (plain->getAttribute (makeViewAttributeID ("abcd"), sizeof (raw), raw, outSize));
	EXPECT_EQ (std::string (raw, outSize), std::string ("raw\0", 4));

	CView* custom = child (root, 8);
	ASSERT_TRUE (custom->asViewContainer ());
	ASSERT_EQ (custom->asViewContainer ()->getNbViews (), 1u);
	CView* row = child (custom, 0);
	EXPECT_EQ (row->getViewSize (), CRect (1, 1, 4, 4));
	EXPECT_TRUE (row->getTransparency ());
	EXPECT_EQ (customName (child (row, 0)), std::string ("rowchild\0", 9));
}

TEST (UIDescription, UnknownClassesAreLoggedAndBecomeContainers)
{
	Loaded loaded (panelDescription ());
	ASSERT_TRUE (loaded.description->parse ());
	LogCapture log;
	auto root = owned (loaded.description->createView ("Panel", nullptr));
	EXPECT_EQ (log.texts (), (std::vector<std::string> {"Unknown view class SomeCustomView, created as CViewContainer"}));
}

TEST (UIDescription, KickButtonFromTheDescriptionDrawsBothFramesOfItsBitmap)
{
	Loaded loaded (panelDescription ());
	ASSERT_TRUE (loaded.description->parse ());
	TestFrame t (CRect (0, 0, 400, 300));
	CView* root = loaded.description->createView ("Panel", nullptr);
	t.frame->addView (root);
	EXPECT_EQ (t.pixel (20, 15), kRedCColor);
	t.down (20, 15);
	EXPECT_EQ (t.pixel (20, 15), kGreenCColor);
	t.up (20, 15);
	EXPECT_EQ (t.pixel (20, 15), kRedCColor);
}

TEST (UIDescription, LookupsResolveNamesBuiltinsAndHexColours)
{
	Loaded loaded (panelDescription ());
	ASSERT_TRUE (loaded.description->parse ());
	UIDescription& d = *loaded.description;
	CColor c;
	EXPECT_TRUE (d.getColor ("text", c));
	EXPECT_EQ (c, CColor (0, 255, 86, 255));
	EXPECT_TRUE (d.getColor ("~ GreyCColor", c));
	EXPECT_EQ (c, kGreyCColor);
	EXPECT_TRUE (d.getColor ("#01020304", c));
	EXPECT_EQ (c, CColor (1, 2, 3, 4));
	EXPECT_FALSE (d.getColor ("nothing", c));
	ASSERT_TRUE (d.getBitmap ("button"));
	EXPECT_EQ (d.getBitmap ("button")->getHeight (), 20);
	EXPECT_EQ (d.getBitmap ("nopath"), nullptr);
	EXPECT_EQ (d.getBitmap ("missing"), nullptr);
	EXPECT_TRUE (d.getFont ("big"));
	EXPECT_EQ (d.createView ("Missing", nullptr), nullptr);
}

TEST (UIDescription, AFontWhoseFamilyIsMissingTakesTheFirstInstalledAlternative)
{
	Loaded loaded (kHead +
	               "<fonts>"
	               "<font name=\"fallback\" font-name=\"No Such Family\" alternative-font-names=\"Missing Too, Liberation Sans\"/>"
	               "<font name=\"installed\" font-name=\"Liberation Sans\" alternative-font-names=\"DejaVu Sans\"/>"
	               "<font name=\"none\" font-name=\"No Such Family\" alternative-font-names=\"Missing Too\"/>"
	               "<font name=\"plain\" font-name=\"No Such Family\"/>"
	               "</fonts>" +
	               kTail);
	ASSERT_TRUE (loaded.description->parse ());
	EXPECT_EQ (loaded.description->getFont ("fallback")->getName (), "Liberation Sans");
	EXPECT_EQ (loaded.description->getFont ("installed")->getName (), "Liberation Sans");
	EXPECT_EQ (loaded.description->getFont ("none")->getName (), "No Such Family");
	EXPECT_EQ (loaded.description->getFont ("plain")->getName (), "No Such Family");
}

TEST (UIDescription, ViewsKeepTheirBitmapsAfterTheDescriptionIsGone)
{
	CView* root = nullptr;
	{
		Loaded loaded (panelDescription ());
		ASSERT_TRUE (loaded.description->parse ());
		root = loaded.description->createView ("Panel", nullptr);
	}
	CBitmap* bitmap = child (root, 0)->getBackground ();
	ASSERT_TRUE (bitmap);
	EXPECT_EQ (bitmap->getNbReference (), 3);
	EXPECT_EQ (bitmap->getWidth (), 20);
	root->forget ();
}

TEST (UIDescription, RefusesWrongRootsAndUnexpectedSections)
{
	const std::vector<std::string> bad = {
	    "",
	    "<vstgui-ui-description>",
	    "<ui-description version=\"1\"></ui-description>",
	    kHead + "<pictures/>" + kTail,
	    kHead + "<bitmaps><image name=\"a\"/></bitmaps>" + kTail,
	    kHead + "<fonts><bitmap name=\"a\"/></fonts>" + kTail,
	    kHead + "<colors><font name=\"a\"/></colors>" + kTail,
	};
	for (const auto& text : bad)
	{
		Loaded loaded (text);
		EXPECT_FALSE (loaded.description->parse ()) << text;
		EXPECT_TRUE (loaded.description->getTemplateNames ().empty ());
		EXPECT_FALSE (loaded.description->parse ());
	}
	Loaded ok (kHead + "<custom><anything/></custom><gradients><gradient name=\"g\"/></gradients>"
	                   "<control-tags><control-tag name=\"gain\" tag=\"7\"/></control-tags>"
	                   "<template name=\"T\"><view class=\"CKickButton\" control-tag=\"gain\"/>"
	                   "<view class=\"CKickButton\" control-tag=\"12\"/><view class=\"CKickButton\" control-tag=\"\"/>"
	                   "</template>" +
	           kTail);
	ASSERT_TRUE (ok.description->parse ());
	EXPECT_EQ (ok.description->getTagForName ("gain"), 7);
	auto root = owned (ok.description->createView ("T", nullptr));
	EXPECT_EQ (dynamic_cast<CControl*> (child (root, 0))->getTag (), 7);
	EXPECT_EQ (dynamic_cast<CControl*> (child (root, 1))->getTag (), 12);
	EXPECT_EQ (dynamic_cast<CControl*> (child (root, 2))->getTag (), -1);
}

TEST (UIDescription, ATemplateThatContainsItselfIsCutOffWithALogLine)
{
	Loaded loaded (kHead + "<template name=\"Loop\" class=\"CViewContainer\"><view template=\"Loop\"/></template>" + kTail);
	ASSERT_TRUE (loaded.description->parse ());
	LogCapture log;
	auto root = owned (loaded.description->createView ("Loop", nullptr));
	ASSERT_TRUE (root);
	ASSERT_EQ (root->asViewContainer ()->getNbViews (), 1u);
	EXPECT_EQ (child (root, 0)->asViewContainer ()->getNbViews (), 0u);
	EXPECT_EQ (log.texts (), (std::vector<std::string> {"Template Loop contains itself"}));
}

TEST (UIDescription, DeeplyNestedDocumentsAreRefused)
{
	std::string text = kHead + "<template name=\"Deep\">";
	for (int i = 0; i < 5000; ++i)
		text += "<view>";
	for (int i = 0; i < 5000; ++i)
		text += "</view>";
	text += "</template>" + kTail;
	Loaded loaded (text);
	EXPECT_FALSE (loaded.description->parse ());
}

TEST (UIDescription, ParsingRewindsTheProviderFirst)
{
	std::string text = kHead + "<template name=\"T\"/>" + kTail;
	Xml::MemoryContentProvider provider (text.data (), static_cast<uint32_t> (text.size ()));
	int8_t skip[10];
	provider.readRawXmlData (skip, sizeof (skip));
	auto description = owned (new UIDescription (&provider));
	EXPECT_TRUE (description->parse ());
}

TEST (UIDescription, RealDescriptionsParseAndBuildEveryTemplate)
{
	REQUIRE_TESTDATA ();
	auto files = testdata::files ("uidesc", ".uidesc");
	ASSERT_EQ (files.size (), 18u);
	int built = 0;
	for (const auto& path : files)
	{
		auto bytes = testdata::readBytes (path);
		Xml::MemoryContentProvider provider (bytes.data (), static_cast<uint32_t> (bytes.size ()));
		auto description = owned (new UIDescription (&provider));
		const bool json = path.filename ().string ().find ("json") != std::string::npos;
		ASSERT_EQ (description->parse (), !json) << path;
		LogCapture log;
		for (const auto& name : description->getTemplateNames ())
		{
			auto view = owned (description->createView (name.c_str (), nullptr));
			ASSERT_TRUE (view) << path << " " << name;
			++built;
		}
		for (const auto& name : description->getBitmapNames ())
			description->getBitmap (name.c_str ());
	}
	EXPECT_EQ (built, 51);
}

TEST (UIDescription, RealEmbeddedBitmapsDecode)
{
	REQUIRE_TESTDATA ();
	auto bytes = testdata::readBytes (testdata::root () / "uidesc" / "vstgui-uidescriptioneditor-2019.uidesc");
	Xml::MemoryContentProvider provider (bytes.data (), static_cast<uint32_t> (bytes.size ()));
	auto description = owned (new UIDescription (&provider));
	ASSERT_TRUE (description->parse ());
	auto names = description->getBitmapNames ();
	EXPECT_EQ (names.size (), 34u);
	int loaded = 0;
	for (const auto& name : names)
	{
		CBitmap* bitmap = description->getBitmap (name.c_str ());
		loaded += bitmap && bitmap->isLoaded () && bitmap->getWidth () > 0;
	}
	EXPECT_EQ (loaded, 34);
}
