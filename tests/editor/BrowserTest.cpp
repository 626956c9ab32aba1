#include "EditorHarness.h"

#include "synth/Engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace VSTGUI;

namespace
{
const CColor kGreen(0, 255, 86, 255);
const CColor kBlack(0, 0, 0, 255);
const CColor kGrey(100, 100, 100, 255);
const CColor kCaption(255, 255, 255, 220);

std::string labelName(size_t i)
{
	return std::string("single") + static_cast<char>('A' + i / 8) + static_cast<char>('0' + i % 8);
}

std::string nameOf(EditorHarness& h, size_t single)
{
	zentlib::SinglePreset record;
	h.plugin.getSingle(record, single);
	std::string name(record.name, strnlen(record.name, sizeof(record.name)));
	return name.erase(name.find_last_not_of(' ') + 1);
}

// What the labels show, up to the first empty one.
std::vector<std::string> page(EditorHarness& h)
{
	std::vector<std::string> out;
	for (size_t i = 0; i < 32 && !h.viewAs<CTextLabel>(labelName(i))->getText().empty(); ++i)
		out.push_back(h.viewAs<CTextLabel>(labelName(i))->getText().getString());
	return out;
}

// What the labels should show for these singles: number, name, a star for an edited one.
std::vector<std::string> entries(EditorHarness& h, const std::vector<size_t>& singles)
{
	std::vector<std::string> out;
	for (size_t s : singles)
		out.push_back(zentlib::Engine::getSingleNumberAsName(s) + " " + nameOf(h, s) +
		              (h.plugin.isSingleModified(s) ? "*" : ""));
	return out;
}

std::vector<size_t> range(size_t first, size_t count = 32)
{
	std::vector<size_t> out(count);
	for (size_t i = 0; i < count; ++i)
		out[i] = first + i;
	return out;
}

std::vector<size_t> hits(EditorHarness& h, const std::string& lowerCaseText)
{
	std::vector<size_t> out;
	for (size_t s = 0; s < h.plugin.getSingleCount(); ++s)
	{
		std::string name = nameOf(h, s);
		std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
		if (name.find(lowerCaseText) != std::string::npos)
			out.push_back(s);
	}
	return out;
}

// The first word of a factory name that a few other names hold as well, but fewer than a page.
std::string fewHitsTerm(EditorHarness& h)
{
	for (size_t s = 1; s < h.plugin.getSingleCount(); ++s)
	{
		std::string word = nameOf(h, s).substr(0, nameOf(h, s).find(' '));
		std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return std::tolower(c); });
		const std::vector<size_t> found = hits(h, word);
		if (word.size() >= 4 && found.size() > 1 && found.size() < 32 && found[0] != 0)
			return word;
	}
	return {};
}

std::string caption(EditorHarness& h)
{
	return h.viewAs<CTextLabel>("romcardName")->getText().getString();
}

CColor colour(EditorHarness& h, const std::string& name)
{
	return h.viewAs<CTextLabel>(name)->getFontColor();
}

void search(EditorHarness& h, const std::string& text)
{
	h.click("searchSingle");
	for (size_t n = h.viewAs<CTextEdit>("searchSingle")->getText().length(); n > 0; --n)
		h.key(VKEY_BACK);
	h.type(text);
}
}

TEST(Browser, OpensOnTheFirstPageAndPagesThroughTheStoragesWithTheirCaptions)
{
	EditorHarness h;
	EXPECT_EQ(page(h), entries(h, range(0)));
	EXPECT_EQ(page(h).back().substr(0, 5), "ID-8 ");
	EXPECT_EQ(caption(h), "ZENT FACTORY");
	EXPECT_EQ(colour(h, "singleA0"), kGreen);
	EXPECT_EQ(colour(h, "singleA1"), kBlack);

	const std::pair<size_t, const char*> pages[] = {{32, "ZENT FACTORY"}, {64, "ROM CARD R3-01"}, {96, "ROM CARD R3-01"}};
	for (const auto& [offset, storage] : pages)
	{
		h.click("btBankInc");
		EXPECT_EQ(page(h), entries(h, range(offset)));
		EXPECT_EQ(caption(h), storage);
	}
	// Let go away from the button, a click does nothing.
	h.down(h.centre("btBankInc"));
	h.move(h.centre("singleA0"));
	h.up(h.centre("singleA0"));
	EXPECT_EQ(page(h), entries(h, range(96)));

	for (int i = 0; i < 30; ++i)
		h.click("btBankInc");
	EXPECT_EQ(page(h), entries(h, range(736)));
	EXPECT_EQ(caption(h), "ROM CARD T3-03");
	for (int i = 0; i < 30; ++i)
		h.click("btBankDec");
	EXPECT_EQ(page(h), entries(h, range(0)));
}

TEST(Browser, ALeftClickSelectsWithoutScrollingAndTheArrowsFollowTheSelection)
{
	EditorHarness h;
	h.rightClick(h.centre(labelName(11)));
	h.click(h.centre(labelName(11)), kLButton | kRButton);
	EXPECT_EQ(h.plugin.getCurrentSingleIndex(), 0u) << "only the left button alone selects";
	h.click(h.centre(labelName(10)), kLButton | kShift | kDoubleClick);
	EXPECT_EQ(h.plugin.getCurrentSingleIndex(), 10u) << "modifiers and double clicks do not matter";
	h.click(labelName(11));
	EXPECT_EQ(h.plugin.getCurrentSingleIndex(), 11u);
	EXPECT_EQ(colour(h, labelName(11)), kGreen);
	EXPECT_EQ(colour(h, labelName(0)), kBlack);

	// A program change from elsewhere leaves the page where it is.
	h.plugin.setCurrentSingleIndex(40);
	EXPECT_EQ(page(h), entries(h, range(0)));
	EXPECT_EQ(colour(h, labelName(11)), kBlack);
	h.click("btSingleInc");
	EXPECT_EQ(h.plugin.getCurrentSingleIndex(), 41u);
	EXPECT_EQ(page(h), entries(h, range(32))) << "the list jumps to the page of the single";
	EXPECT_EQ(colour(h, labelName(9)), kGreen);

	h.plugin.setCurrentSingleIndex(0);
	h.click("btSingleDec");
	EXPECT_EQ(h.plugin.getCurrentSingleIndex(), 0u);
	h.plugin.setCurrentSingleIndex(767);
	h.click("btSingleInc");
	EXPECT_EQ(h.plugin.getCurrentSingleIndex(), 767u);
}

TEST(Browser, AnEditedSingleIsStarredAndOnlyThenCanBeReset)
{
	EditorHarness h;
	EXPECT_EQ(colour(h, "btSingleResetText"), kGrey);
	EXPECT_FALSE(h.view("btSingleReset")->getMouseEnabled());
	h.plugin.setCurrentSingleName("Edited");
	EXPECT_EQ(page(h)[0], "IA-1 Edited*");
	EXPECT_EQ(page(h)[1], entries(h, {1})[0]);
	EXPECT_EQ(colour(h, "btSingleResetText"), kCaption);
	EXPECT_TRUE(h.view("btSingleReset")->getMouseEnabled());
}

TEST(Browser, ASearchListsTheHitsAndTurnsOffWhatNeedsAStoragePlace)
{
	EditorHarness h;
	std::string term = fewHitsTerm(h);
	ASSERT_FALSE(term.empty());
	const std::vector<size_t> found = hits(h, term);
	term[0] = static_cast<char>(std::toupper(term[0]));
	search(h, term);
	EXPECT_EQ(page(h), entries(h, found));
	EXPECT_EQ(caption(h), "SEARCH RESULT");
	for (const char* name : {"btBankImport", "btBankExport", "btBankReset", "btSingleImport"})
	{
		EXPECT_EQ(colour(h, name + std::string("Text")), kGrey) << name;
		h.down(h.centre(name));
		EXPECT_EQ(h.viewAs<CKickButton>(name)->getValue(), 0.f) << name << " ignores the mouse";
		h.up(h.centre(name));
	}
	EXPECT_EQ(colour(h, "btSingleExportText"), kCaption);
	for (const char* name : {"btBankInc", "btBankDec", "singleD7"})
		h.click(name);
	EXPECT_EQ(page(h), entries(h, found));
	EXPECT_EQ(h.plugin.getCurrentSingleIndex(), 0u);
	h.click("btSingleInc");
	EXPECT_EQ(h.plugin.getCurrentSingleIndex(), found[1]) << "from a single that is no hit: the second hit";

	search(h, "");
	EXPECT_EQ(page(h), entries(h, range(found[1] & ~size_t(31))));
	EXPECT_NE(caption(h), "SEARCH RESULT");
	EXPECT_EQ(colour(h, "btBankImportText"), kCaption);
	EXPECT_TRUE(h.view("btBankImport")->getMouseEnabled());
}

TEST(Browser, ASearchWithoutHitsShowsNothingAndOneWithManyPagesThroughThem)
{
	EditorHarness h;
	search(h, "zq#xj");
	EXPECT_TRUE(page(h).empty());
	EXPECT_EQ(caption(h), "SEARCH RESULT");
	for (const char* name : {"btBankInc", "btBankDec", "btSingleInc", "btSingleDec", "singleA0"})
		h.click(name);
	EXPECT_EQ(h.plugin.getCurrentSingleIndex(), 0u);

	const std::vector<size_t> found = hits(h, "a");
	ASSERT_GT(found.size(), 64u);
	search(h, "A");
	EXPECT_EQ(page(h), entries(h, {found.begin(), found.begin() + 32}));
	for (size_t i = 0; i < found.size() / 32 + 2; ++i)
		h.click("btBankInc");
	const size_t last = (found.size() - 1) & ~size_t(31);
	EXPECT_EQ(page(h), entries(h, {found.begin() + last, found.end()}));
	// Done typing: the field reports no change, so the list stays on the page of hits on show.
	h.click("searchSingle");
	h.key(VKEY_RETURN);
	EXPECT_EQ(page(h), entries(h, {found.begin() + last, found.end()}));
}

// Name bytes show in the browser as the display shows them: its characters as they are (its accent and block as
// those characters), '?' for every byte it has no glyph for, 0x80 and above among them, which are no UTF-8 and
// would reach the toolkit as broken text.
TEST(Browser, NameBytesShowAsTheDisplayShowsThem)
{
	EditorHarness h;
	zentlib::SinglePreset single;
	h.plugin.getSingle(single, 1);
	std::memcpy(single.name, "\x80\xB4\xF6\xFF@Az_ \x7F", 10);
	ASSERT_TRUE(h.plugin.setSingle(1, single));
	h.click(h.centre(labelName(1)));
	EXPECT_EQ(page(h)[1], "IA-2 ?\xC2\xB4\xE2\x96\xA0??Az? ?*");
	// The field's font draws every character from 32 to 126.
	EXPECT_EQ(h.viewAs<CTextEdit>("editSingleName")->getText().getString(), "?\xC2\xB4\xE2\x96\xA0?@Az_ ?");
}
