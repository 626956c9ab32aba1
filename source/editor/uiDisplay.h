#pragma once

#include "vstgui/vstgui.h"

class ZentEditor;

// The backlit two-line display of the front panel.
class uiDisplay : public VSTGUI::IViewMouseListener
{
public:
	explicit uiDisplay(ZentEditor& editor);
	uiDisplay(const uiDisplay&) = delete;
	uiDisplay& operator=(const uiDisplay&) = delete;
	~uiDisplay() override;

	VSTGUI::CMouseEventResult viewOnMouseDown(VSTGUI::CView* view, VSTGUI::CPoint where,
	                                          VSTGUI::CButtonState buttons) override;
	VSTGUI::CMouseEventResult viewOnMouseUp(VSTGUI::CView* view, VSTGUI::CPoint where,
	                                        VSTGUI::CButtonState buttons) override;
	VSTGUI::CMouseEventResult viewOnMouseMoved(VSTGUI::CView* view, VSTGUI::CPoint where,
	                                           VSTGUI::CButtonState buttons) override;
	VSTGUI::CMouseEventResult viewOnMouseCancel(VSTGUI::CView* view) override;
	void viewOnMouseEntered(VSTGUI::CView* view) override;
	void viewOnMouseExited(VSTGUI::CView* view) override;
	void viewOnMouseEnabled(VSTGUI::CView* view, bool state) override;

	void setTextShowCurrentSingle();

private:
	ZentEditor& m_editor;
};
