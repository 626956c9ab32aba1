#pragma once

#include "../cview.h"
#include "iplatformframe.h"

#include <vector>

namespace VSTGUI
{
class CVSTGUITimer;

// The popup of an option menu: one column per open menu level, as the frame's modal view. The
// columns go where a desktop menu would put them: in windows of their own that may extend past
// the frame when the platform offers them, otherwise drawn over the frame. A column taller than
// the space it may take scrolls, with arrows at both ends, the wheel and the keys. Clicks and keys
// pick an entry; a click outside dismisses.
class OptionMenuPopup : public CView
{
public:
	static constexpr CCoord kItemHeight = 22;
	static constexpr CCoord kSeparatorHeight = 9;
	static constexpr CCoord kScrollerHeight = 16;

	explicit OptionMenuPopup (COptionMenu* menu);
	~OptionMenuPopup () noexcept override;

	// The popup a frame shows, or null.
	static OptionMenuPopup* get (CFrame* frame);

	size_t getNumLevels () const { return levels.size (); }
	COptionMenu* getLevelMenu (size_t level) const;
	// The column of a level in frame pixels.
	CRect getLevelRect (size_t level) const;
	bool isScrollable (size_t level) const;
	// The visible part of an entry in frame pixels; empty when it is scrolled out of sight.
	CRect getItemRect (size_t level, int32_t index) const;
	int32_t getHoverIndex (size_t level) const;
	// The area the columns are kept in, in frame pixels.
	const CRect& getArea () const { return area; }

	void invalidRect (const CRect& rect) override;
	void invalid () override;
	void draw (CDrawContext* context) override;
	void drawRect (CDrawContext* context, const CRect& updateRect) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	              const CButtonState& buttons) override;
	int32_t onKeyDown (VstKeyCode& keyCode) override;

private:
	struct Level
	{
		COptionMenu* menu {nullptr};
		CRect rect;
		std::vector<CCoord> tops;  // each entry's top within the column's content
		CCoord contentHeight {0};
		CCoord scroll {0};
		int32_t hover {-1};
		SharedPointer<IPlatformPopupWindow> window;

		bool scrolls () const;
		CCoord maxScroll () const;
		CRect viewport () const;
		CRect upArrow () const;
		CRect downArrow () const;
		CRect itemRect (int32_t index) const;
	};
	enum HitPart
	{
		kNothing,
		kItem,
		kUpArrow,
		kDownArrow
	};
	struct Hit
	{
		HitPart part {kNothing};
		size_t level {0};
		int32_t index {-1};
	};

	void openLevel (COptionMenu* menu, const CRect& anchor, bool beside);
	void openSubmenuOf (size_t level, int32_t index);
	void closeLevelsAfter (size_t level);
	void invalidLevel (const Level& level);
	void invalidIn (const Level& level, const CRect& rect);
	Hit hit (const CPoint& where) const;
	bool selectable (const Level& level, int32_t index) const;
	void activate (size_t level, int32_t index);
	void setHover (size_t level, int32_t index);
	void moveHover (int direction);
	void moveHoverTo (int32_t index, int direction);
	void scrollBy (size_t level, CCoord delta);
	void scrollToShow (size_t level, int32_t index);
	void startAutoScroll (size_t level, int direction);
	void stopAutoScroll ();
	void finish (COptionMenu* selectedMenu, int32_t index);
	void drawLevel (CDrawContext* context, const Level& level);

	COptionMenu* topMenu;
	CRect area;
	bool inOwnWindows {false};
	std::vector<Level> levels;
	CVSTGUITimer* autoScrollTimer {nullptr};
	size_t autoScrollLevel {0};
	int autoScrollDirection {0};
	bool finished {false};
};
} // VSTGUI
