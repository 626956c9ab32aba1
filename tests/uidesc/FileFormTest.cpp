#include "Base64.h"
#include "Description.h"
#include "editor/resources/EditorResources.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <unistd.h>

using namespace uidesctest;

namespace
{
std::vector<std::string> childTags(const Element& e)
{
	std::vector<std::string> tags;
	for (const auto& c : e.children)
		tags.push_back(c->tag);
	return tags;
}

const Element& section(const std::string& tag)
{
	for (const auto& c : description().children)
		if (c->tag == tag)
			return *c;
	throw std::runtime_error("no section " + tag);
}

// The panel bitmaps with their pixel sizes, then the glyphs at 39 x 50.
const std::vector<std::tuple<std::string, int, int>>& panelBitmaps()
{
	static const std::vector<std::tuple<std::string, int, int>> list = {
		{"background", 2560, 1440},
		{"display_light", 847, 336},
		{"display_panelshadow", 668, 170},
		{"btn_donate_SM", 195, 60},
		{"sourcemixthrottle", 74, 74},
		{"button_button_button_pressed_215x87", 215, 174},
		{"button_button_green_button_green_pressed_215x87", 215, 174},
		{"button_button_red_button_red_pressed_215x87", 215, 174},
		{"button_button_button_pressed_297x87", 297, 174},
		{"button_button_green_button_green_pressed_297x87", 297, 174},
		{"button_button_button_pressed_190x87", 190, 174},
		{"button_button_button_pressed_105x87", 105, 174},
		{"button_button_button_pressed_74x74", 74, 148},
		{"knobvalue_knobvalue_knobshadow_Top", 150, 9450},
		{"knobvalue_knobvalue_knobshadow_Bottom", 150, 9450},
		{"optionmenu_box_168,5x73,4", 168, 73},
		{"optionmenu_box_390x55", 390, 55},
		{"optionmenu_box_193,01x55", 193, 55},
		{"optionmenu_box_237,5x55", 238, 55},
		{"optionmenu_box_224,8x55", 225, 55},
		{"bake_mode_play", 2063, 517},
		{"bake_mode_edit", 2063, 517},
		{"bake_edit_source", 1665, 517},
		{"bake_edit_common", 1537, 517},
		{"resize", 122, 100},
	};
	return list;
}
}

TEST(UiDescriptionFile, StartsWithByteOrderMarkAndDeclarationUnderOneRoot)
{
	const std::string& raw = rawDescription();
	EXPECT_EQ(raw.size(), zenteditor::getDataSize_uiXml());
	EXPECT_EQ(raw.substr(0, 41), "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>");
	const Element& root = description();
	EXPECT_EQ(root.tag, "vstgui-ui-description");
	ASSERT_EQ(root.attributes.size(), 1u);
	EXPECT_EQ(root.get("version"), "1");
	EXPECT_EQ(childTags(root), (std::vector<std::string>{"bitmaps", "fonts", "template"}));
}

TEST(UiDescriptionFile, EscapesAmpersandsAndGreaterThanInAttributeValues)
{
	const std::string& raw = rawDescription();
	EXPECT_NE(raw.find("tooltip=\"Enable Frequency Modulation by Vibrato &amp;&amp; Autobend\""), std::string::npos);
	EXPECT_NE(raw.find("title=\"Pressure &gt; Freq\""), std::string::npos);
	EXPECT_NE(raw.find("title=\"Vib &amp; Autobend\""), std::string::npos);
	// And the parsed text is the plain one.
	EXPECT_EQ(viewsNamed("Param_SourceS1VibABend").front()->get("tooltip"),
		"Enable Frequency Modulation by Vibrato && Autobend");
}

TEST(UiDescriptionFile, FontsAreTheSixBoldFacesInOrder)
{
	const Element& fonts = section("fonts");
	const std::vector<std::tuple<std::string, std::string, std::string>> expected = {
		{"gadugi_33_b", "Gadugi", "33"},
		{"arial_36_b", "Arial", "36"},
		{"gadugi_26_b", "Gadugi", "26"},
		{"arial_28_b", "Arial", "28"},
		{"gadugi_39_b", "Gadugi", "39"},
		{"arial_24_b", "Arial", "24"},
	};
	ASSERT_EQ(fonts.children.size(), expected.size());
	for (size_t i = 0; i < expected.size(); ++i)
	{
		const Element& f = *fonts.children[i];
		EXPECT_EQ(f.tag, "font");
		EXPECT_EQ(f.get("name"), std::get<0>(expected[i]));
		EXPECT_EQ(f.get("font-name"), std::get<1>(expected[i]));
		EXPECT_EQ(f.get("size"), std::get<2>(expected[i]));
		EXPECT_EQ(f.get("bold"), "true");
		EXPECT_NE(f.get("italic"), "true");
		EXPECT_EQ(f.get("alternative-font-names"), f.get("font-name") == "Gadugi" ? "Arial, Liberation Sans" : "");
	}
}

TEST(UiDescriptionFile, EveryBitmapIsAPngOfItsListedSizeNamedByItsPath)
{
	const Element& bitmaps = section("bitmaps");
	ASSERT_EQ(bitmaps.children.size(), 118u);
	std::map<std::string, std::pair<int, int>> expected;
	for (const auto& [name, w, h] : panelBitmaps())
		expected[name] = {w, h};
	std::set<std::string> seen;
	size_t glyphs = 0;
	for (const auto& b : bitmaps.children)
	{
		const std::string name = b->get("name");
		SCOPED_TRACE(name);
		EXPECT_EQ(b->tag, "bitmap");
		EXPECT_TRUE(seen.insert(name).second) << "listed twice";
		EXPECT_EQ(b->get("path"), name + ".png");
		ASSERT_EQ(b->children.size(), 1u);
		EXPECT_EQ(b->children.front()->tag, "data");
		EXPECT_EQ(b->children.front()->get("encoding"), "base64");
		const Image image = decodePng(bitmapPng(name));
		if (name.rfind("tmptext_", 0) == 0)
		{
			++glyphs;
			EXPECT_EQ(image.width, 39);
			EXPECT_EQ(image.height, 50);
			continue;
		}
		ASSERT_TRUE(expected.count(name)) << "not a panel bitmap";
		EXPECT_EQ(image.width, expected[name].first);
		EXPECT_EQ(image.height, expected[name].second);
	}
	EXPECT_EQ(glyphs, 93u);
	EXPECT_EQ(seen.size(), 118u);
	// The base64 is written inside a CDATA section.
	EXPECT_NE(rawDescription().find("<data encoding=\"base64\"><![CDATA[iVBORw0KGgo"), std::string::npos);
}

TEST(UiDescriptionFile, TemplateVirelSpansThePanelWithItsBackground)
{
	const Element& t = templateElement();
	EXPECT_EQ(t.get("name"), "Virel");
	EXPECT_EQ(t.get("size"), "2560, 1440");
	EXPECT_EQ(t.get("minSize"), "1280, 720");
	EXPECT_EQ(t.get("maxSize"), "2560, 1440");
	EXPECT_EQ(t.get("bitmap"), "background");
	EXPECT_EQ(t.get("custom-view-name"), "bg");
	EXPECT_EQ(t.get("transparent"), "false");
	size_t templates = 0;
	for (const auto& c : description().children)
		templates += c->tag == "template";
	EXPECT_EQ(templates, 1u);
}

TEST(UiDescriptionFile, GeneratorWritesTheSameBytesEveryRun)
{
	const std::filesystem::path folder =
		std::filesystem::temp_directory_path() / ("virel_uidesc_" + std::to_string(::getpid()));
	std::filesystem::create_directories(folder);
	for (int run = 0; run < 2; ++run)
	{
		const std::filesystem::path out = folder / ("run" + std::to_string(run) + ".uidesc");
		const std::string command = std::string("\"") + VIREL_UIDESC_GEN + "\" \"" + out.string() + "\"";
		ASSERT_EQ(std::system(command.c_str()), 0);
		std::ifstream in(out, std::ios::binary);
		const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
		EXPECT_TRUE(bytes == rawDescription()) << "run " << run << " differs from the embedded description";
	}
	std::filesystem::remove_all(folder);
}

TEST(Base64, EncodesTheStandardVectorsAndDecodesThemBack)
{
	const std::pair<std::string, std::string> vectors[] = {
		{"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="},
		{"foobar", "Zm9vYmFy"}, {std::string("\xff\xfe\x00", 3), "//4A"}};
	for (const auto& [plain, coded] : vectors)
	{
		EXPECT_EQ(uidesc::base64Encode(reinterpret_cast<const uint8_t*>(plain.data()), plain.size()), coded);
		const auto back = uidesc::base64Decode(coded);
		ASSERT_TRUE(back);
		EXPECT_EQ(std::string(back->begin(), back->end()), plain);
	}
	// Whitespace is skipped; truncated or over-padded text is refused.
	EXPECT_EQ(uidesc::base64Decode("Zm9v\nYmFy"), uidesc::base64Decode("Zm9vYmFy"));
	EXPECT_FALSE(uidesc::base64Decode("Zm9vY"));
	EXPECT_FALSE(uidesc::base64Decode("Zg="));
	EXPECT_FALSE(uidesc::base64Decode("Zg==Zg=="));
}
