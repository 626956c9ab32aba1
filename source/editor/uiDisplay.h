#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "synth/StaticArray.h"
#include "vstgui/vstgui.h"

class ZentEditor;

// The backlit two-line display of the front panel: 2 x 16 character cells, each a view that shows one glyph
// bitmap, in front of the light. It shows the current single, plays the start-up texts when the window opens
// and the firmware screen when the lit display is clicked. It reads the synthesizer and changes nothing.
class uiDisplay : public VSTGUI::ViewMouseListenerAdapter
{
public:
	using Cells = StaticArray<VSTGUI::CView*, 16>;

	explicit uiDisplay(ZentEditor& editor);
	uiDisplay(const uiDisplay&) = delete;
	uiDisplay& operator=(const uiDisplay&) = delete;
	~uiDisplay() override;

	void setText(const std::string& top, const std::string& bottom);
	// Bytes past the 16th are not shown; missing ones are blanks; bytes without a glyph show '?'.
	void setText(Cells& cells, const std::string& text);
	// Writes at once, without touching the light or a pending step of a sequence.
	void setTextShowCurrentSingle();
	void doStartupAnimation();
	void switchPower(bool on) const;
	void destroyTimer();

	// A click on the lit display.
	VSTGUI::CMouseEventResult viewOnMouseDown(VSTGUI::CView* view, VSTGUI::CPoint where,
	                                          VSTGUI::CButtonState buttons) override;

private:
	// Replaces any pending step: after the interval the step runs once.
	void startStep(uint32_t intervalMs, std::function<void()> step);

	ZentEditor& m_editor;
	VSTGUI::CViewContainer* m_lines = nullptr;
	VSTGUI::CView* m_light = nullptr;
	VSTGUI::SharedPointer<VSTGUI::CVSTGUITimer> m_timer;
	Cells m_topCells;
	Cells m_bottomCells;
	std::map<char, VSTGUI::CBitmap*> m_glyphs;
};
