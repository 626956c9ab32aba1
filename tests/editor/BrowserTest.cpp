#include "EditorHarness.h"

#include "synth/Engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
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
	return std::string(record.name, strnlen(record.name, sizeof(record.name)));
}

// What a label shows for a single: its number, its name without trailing blanks, a star when edited.
std::string entry(EditorHarness& h, size_t single)
{
	std::string text = zentlib::Engine::getSingleNumberAsName(single) + " " + nameOf(h, single);
	text.erase(text.find_last_not_of(' ') + 1);
	return text + (h.plugin.isSingleModified(single) ? "*" : "");
}

struct Browser
{
	explicit Browser(EditorHarness& h) : h(h) {}

	CTextLabel* label(size_t i) const { return h.viewAs<CTextLabel>(labelName(i)); }
	std::string text(size_t i) const { return label(i)->getText().getString(); }
	std::string caption() const { return h.viewAs<CTextLabel>("romcardName")->getText().getString(); }
	// The singles the 32 labels show, in order, from their texts; the page ends at the first empty label.
	std::vector<std::string> page() const
	{
		std::vector<std::string> out;
		for (size_t i = 0; i < 32 && !text(i).empty(); ++i)
			out.push_back(text(i));
		return out;
	}
	std::vector<std::string> entries(const std::vector<size_t>& singles) const
	{
		std::vector<std::string> out;
		for (size_t s : singles)
			out.push_back(entry(h, s));
		return out;
	}
	std::vector<size_t> range(size_t first, size_t count) const
	{
		std::vector<size_t> out(count);
		for (size_t i = 0; i < count; ++i)
			out[i] = first + i;
		return out;
	}
	size_t current() const { return h.plugin.getCurrentSingleIndex(); }
	CColor captionColour(const std::string& button) const
	{
		return h.viewAs<CTextLabel>(button + "Text")->getFontColor();
	}
	void search(const std::string& text)
	{
		h.click("searchSingle");
		h.type(text);
	}
	void clearSearch()
	{
		h.click("searchSingle");
		for (size_t n = h.viewAs<CTextEdit>("searchSingle")->getText().length(); n > 0; --n)
			h.key(VKEY_BACK);
	}

	EditorHarness& h;
};

// The singles whose names hold the text, ignoring case, in order.
std::vector<size_t> hits(EditorHarness& h, std::string text)
{
	auto lower = [](std::string s) {
		std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
		return s;
	};
	std::vector<size_t> out;
	for (size_t s = 0; s < h.plugin.getSingleCount(); ++s)
		if (lower(nameOf(h, s)).find(lower(text)) != std::string::npos)
			out.push_back(s);
	return out;
}
}

TEST(Browser, OpensOnTheFirstPageAndPagesThroughTheStoragesWithTheirCaptions)
{
	EditorHarness h;
	Browser b(h);
	EXPECT_EQ(b.page(), b.entries(b.range(0, 32)));
	EXPECT_EQ(b.text(0).substr(0, 5), "IA-1 ");
	EXPECT_EQ(b.text(31).substr(0, 5), "ID-8 ");
	EXPECT_EQ(b.caption(), "ZENT FACTORY");
	EXPECT_EQ(b.label(0)->getFontColor(), kGreen);
	EXPECT_EQ(b.label(1)->getFontColor(), kBlack);

	h.click("btBankInc");
	EXPECT_EQ(b.page(), b.entries(b.range(32, 32)));
	EXPECT_EQ(b.caption(), "ZENT FACTORY");
	h.click("btBankInc");
	EXPECT_EQ(b.caption(), "ROM CARD R3-01");
	h.click("btBankInc");
	EXPECT_EQ(b.page(), b.entries(b.range(96, 32)));
	EXPECT_EQ(b.caption(), "ROM CARD R3-01");

	// Released away from the button, a click does nothing.
	h.down(h.centre("btBankInc"));
	h.move(h.centre("singleA0"));
	h.up(h.centre("singleA0"));
	EXPECT_EQ(b.page(), b.entries(b.range(96, 32)));

	for (int i = 0; i < 30; ++i)
		h.click("btBankInc");
	EXPECT_EQ(b.page(), b.entries(b.range(736, 32)));
	EXPECT_EQ(b.caption(), "ROM CARD T3-03");
	for (int i = 0; i < 30; ++i)
		h.click("btBankDec");
	EXPECT_EQ(b.page(), b.entries(b.range(0, 32)));
}

TEST(Browser, ALeftClickSelectsANameWithoutScrollingAndTheArrowsFollowTheSelection)
{
	EditorHarness h;
	Browser b(h);
	h.rightClick(h.centre(labelName(11)));
	h.click(h.centre(labelName(11)), kLButton | kRButton);
	EXPECT_EQ(b.current(), 0u) << "only the left button alone selects";

	h.click(labelName(11));
	EXPECT_EQ(b.current(), 11u);
	EXPECT_EQ(b.label(11)->getFontColor(), kGreen);
	EXPECT_EQ(b.label(0)->getFontColor(), kBlack);

	// A program change from the host marks the new single but leaves the page where it is.
	h.plugin.setCurrentSingleIndex(40);
	EXPECT_EQ(b.page(), b.entries(b.range(0, 32)));
	for (size_t i = 0; i < 32; ++i)
		EXPECT_EQ(b.label(i)->getFontColor(), kBlack) << i;
	h.click("btSingleInc");
	EXPECT_EQ(b.current(), 41u);
	EXPECT_EQ(b.page(), b.entries(b.range(32, 32))) << "the list jumps to the page that holds the single";
	EXPECT_EQ(b.label(9)->getFontColor(), kGreen);
	h.click("btSingleDec");
	h.click("btSingleDec");
	EXPECT_EQ(b.current(), 39u);
	EXPECT_EQ(b.page(), b.entries(b.range(32, 32)));

	h.plugin.setCurrentSingleIndex(0);
	h.click("btSingleDec");
	EXPECT_EQ(b.current(), 0u);
	h.plugin.setCurrentSingleIndex(767);
	h.click("btSingleInc");
	EXPECT_EQ(b.current(), 767u);
}

TEST(Browser, AnEditedSingleIsStarredAndOnlyThenCanBeReset)
{
	EditorHarness h;
	Browser b(h);
	EXPECT_EQ(b.captionColour("btSingleReset"), kGrey);
	EXPECT_FALSE(h.view("btSingleReset")->getMouseEnabled());

	h.plugin.setCurrentSingleName("Edited");
	EXPECT_EQ(b.text(0), "IA-1 Edited*");
	EXPECT_EQ(b.captionColour("btSingleReset"), kCaption);
	EXPECT_TRUE(h.view("btSingleReset")->getMouseEnabled());
	EXPECT_EQ(b.text(1).back(), entry(h, 1).back());
}

TEST(Browser, ASearchListsTheHitsAndDisablesWhatNeedsAStoragePlace)
{
	EditorHarness h;
	Browser b(h);
	// A whole factory name, so the hits are few.
	const std::string term = nameOf(h, 100).substr(0, nameOf(h, 100).find_last_not_of(' ') + 1);
	const std::vector<size_t> found = hits(h, term);
	ASSERT_GE(found.size(), 1u);
	ASSERT_LT(found.size(), 32u);
	ASSERT_NE(found[0], 0u) << "the current single is not a hit";

	b.search(term);
	EXPECT_EQ(b.page(), b.entries(found));
	EXPECT_EQ(b.caption(), "SEARCH RESULT");
	for (const char* name : {"btBankImport", "btBankExport", "btBankReset", "btSingleImport"})
	{
		EXPECT_EQ(b.captionColour(name), kGrey) << name;
		h.down(h.centre(name));
		EXPECT_EQ(h.viewAs<CKickButton>(name)->getValue(), 0.f) << name << " ignores the mouse";
		h.up(h.centre(name));
	}
	EXPECT_EQ(b.captionColour("btSingleExport"), kCaption);
	h.click("btBankInc");
	h.click("btBankDec");
	h.click(labelName(31));
	EXPECT_EQ(b.page(), b.entries(found));
	EXPECT_EQ(b.current(), 0u);

	// The current single is no hit, so the next one is the list's second entry.
	h.click("btSingleInc");
	const size_t expected = found.size() > 1 ? found[1] : 0;
	EXPECT_EQ(b.current(), expected);

	b.clearSearch();
	EXPECT_EQ(b.page(), b.entries(b.range(expected & ~size_t(31), 32)));
	EXPECT_NE(b.caption(), "SEARCH RESULT");
	EXPECT_EQ(b.captionColour("btBankImport"), kCaption);
	EXPECT_TRUE(h.view("btBankImport")->getMouseEnabled());
}

TEST(Browser, ASearchWithoutHitsShowsNothingAndOneWithManyPagesThroughThem)
{
	EditorHarness h;
	Browser b(h);
	b.search("zq#xj");
	EXPECT_TRUE(b.page().empty());
	EXPECT_EQ(b.caption(), "SEARCH RESULT");
	for (const char* name : {"btBankInc", "btBankDec", "btSingleInc", "btSingleDec", "singleA0"})
		h.click(name);
	EXPECT_EQ(b.current(), 0u);
	EXPECT_TRUE(b.page().empty());

	b.clearSearch();
	const std::vector<size_t> found = hits(h, "a");
	ASSERT_GT(found.size(), 64u);
	b.search("A");
	EXPECT_EQ(b.page(), b.entries({found.begin(), found.begin() + 32}));
	for (size_t i = 0; i < found.size() / 32 + 2; ++i)
		h.click("btBankInc");
	const size_t last = (found.size() - 1) & ~size_t(31);
	EXPECT_EQ(b.page(), b.entries({found.begin() + last, found.end()}));
	h.click("btBankDec");
	EXPECT_EQ(b.page(), b.entries({found.begin() + last - 32, found.begin() + last}));
}
