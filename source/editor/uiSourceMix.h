#pragma once

#include "vstgui/vstgui.h"

class ZentEditor;

// The round pad that balances sources 1/2 against 3/4.
class uiSourceMix : public VSTGUI::IViewMouseListener
{
public:
	explicit uiSourceMix(ZentEditor& editor);
	uiSourceMix(const uiSourceMix&) = delete;
	uiSourceMix& operator=(const uiSourceMix&) = delete;
	~uiSourceMix() override;

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

	// Places the thumb from the facade's two mix parameters.
	void onSourceMixParametersChanged();

private:
	ZentEditor& m_editor;
};
