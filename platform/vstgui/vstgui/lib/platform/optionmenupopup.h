#pragma once

#include "../cviewcontainer.h"

#include <vector>

namespace VSTGUI
{
// The drawn popup of an option menu: one column per open menu level, over the whole frame as
// its modal view. Clicks and keys pick an entry; a click outside dismisses.
class OptionMenuPopup : public CView
{
public:
	static constexpr CCoord kItemHeight = 22;
	static constexpr CCoord kSeparatorHeight = 9;

	OptionMenuPopup (COptionMenu* menu, const CRect& frameSize);
	~OptionMenuPopup () noexcept override;

	// The popup a frame shows, or null.
	static OptionMenuPopup* get (CFrame* frame);

	size_t getNumLevels () const { return levels.size (); }
	COptionMenu* getLevelMenu (size_t level) const;
	// The rectangle of an entry in frame pixels; empty when it is not shown.
	CRect getItemRect (size_t level, int32_t index) const;
	int32_t getHoverIndex (size_t level) const;

	// The popup lives in window pixels, outside the frame's transform.
	void invalidRect (const CRect& rect) override;
	void draw (CDrawContext* context) override;
	void drawRect (CDrawContext* context, const CRect& updateRect) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	int32_t onKeyDown (VstKeyCode& keyCode) override;

private:
	struct Level
	{
		COptionMenu* menu;
		CRect rect;
		std::vector<CRect> items;
		int32_t hover {-1};
	};

	void openLevel (COptionMenu* menu, const CPoint& where, CCoord alternativeLeft);
	bool hit (const CPoint& where, size_t& level, int32_t& index) const;
	bool selectable (const Level& level, int32_t index) const;
	void activate (size_t level, int32_t index);
	void moveHover (int direction);
	void finish (COptionMenu* selectedMenu, int32_t index);

	COptionMenu* topMenu;
	std::vector<Level> levels;
	bool finished {false};
};
} // VSTGUI
