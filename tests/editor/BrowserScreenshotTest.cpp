// Draws the browser from the smallest window to the largest and checks in the pixels that every factory name,
// with the star of an edited single, ends inside its label. Writes the first page at the default size to
// build/screenshots/browser.png for review.
#include "EditorHarness.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace VSTGUI;

namespace
{
// A label's two rightmost whole pixel columns and its middle row.
std::pair<std::vector<CColor>, std::vector<CColor>> pixelsOf(EditorHarness& h, CView* label)
{
	CRect r = label->getViewSize();
	label->getGlobalTransform().transform(r);
	const int left = static_cast<int>(std::ceil(r.left)), right = static_cast<int>(std::floor(r.right));
	const int top = static_cast<int>(std::ceil(r.top)), bottom = static_cast<int>(std::floor(r.bottom));
	std::pair<std::vector<CColor>, std::vector<CColor>> out;
	for (int y = top; y < bottom; ++y)
		for (int x = right - 2; x < right; ++x)
			out.first.push_back(h.window().getPixel(x, y));
	for (int x = left; x < right; ++x)
		out.second.push_back(h.window().getPixel(x, (top + bottom) / 2));
	return out;
}
}

TEST(BrowserScreenshots, EveryFactoryNameWithItsStarEndsInsideItsLabelAtEveryWindowSize)
{
	for (double width : {640., 800., 1024., 1280., 1600., 1920., 2560.})
	{
		SCOPED_TRACE(width);
		EditorHarness h(CRect(0, 0, width, width * 9 / 16));
		std::vector<zentlib::SinglePreset> edited(h.plugin.getSingleCount());
		for (size_t s = 0; s < edited.size(); ++s)
		{
			h.plugin.getSingle(edited[s], s);
			edited[s].volume ^= 1;
		}
		ASSERT_TRUE(h.plugin.setSingles(0, edited));
		std::vector<CView*> labels;
		for (char column = 'A'; column <= 'D'; ++column)
			for (char row = '0'; row <= '7'; ++row)
				labels.push_back(h.viewAs<CTextLabel>(std::string("single") + column + row));

		// The panel beneath the labels, from a search that empties them all.
		h.click("searchSingle");
		h.type("zq#xj");
		h.frame().idle();
		h.window().redraw();
		std::vector<std::pair<std::vector<CColor>, std::vector<CColor>>> blank;
		for (CView* label : labels)
			blank.push_back(pixelsOf(h, label));
		for (int n = 0; n < 5; ++n)
			h.key(VKEY_BACK);

		for (size_t page = 0; page < edited.size() / labels.size(); ++page, h.click("btBankInc"))
		{
			h.frame().idle();
			h.window().redraw();
			if (width == 1024 && page == 0)
			{
				std::filesystem::create_directories(VIREL_SCREENSHOT_DIR);
				h.window().writePNG((std::filesystem::path(VIREL_SCREENSHOT_DIR) / "browser.png").string());
			}
			for (size_t i = 0; i < labels.size(); ++i)
			{
				const std::string text = static_cast<CTextLabel*>(labels[i])->getText().getString();
				ASSERT_EQ(text.back(), '*') << text;
				const auto drawn = pixelsOf(h, labels[i]);
				EXPECT_TRUE(drawn.second != blank[i].second) << text << " is not drawn";
				EXPECT_TRUE(drawn.first == blank[i].first) << text << " reaches the right edge of its label";
			}
		}
	}
}
