#pragma once

#include "vstgui/vstgui.h"

class ZentEditor;

// The handle in the panel's bottom-right corner: dragging it away from the window's top-left corner
// zooms the panel in proportion to the pointer's distance from that corner.
class uiResizer : VSTGUI::IViewMouseListener
{
public:
	explicit uiResizer(ZentEditor& editor);
	uiResizer(const uiResizer&) = delete;
	uiResizer& operator=(const uiResizer&) = delete;
	~uiResizer() override;

private:
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

	VSTGUI::CPoint toWindow(const VSTGUI::CPoint& where) const;

	ZentEditor& m_editor;
	VSTGUI::CView* m_handle;
	bool m_dragging = false;
	VSTGUI::CPoint m_pressPoint;
	double m_pressZoom = 0;
};
