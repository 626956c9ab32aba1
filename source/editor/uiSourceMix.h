#pragma once

#include "vstgui/vstgui.h"

class ZentEditor;

// The round pad that balances the sources: the thumb's horizontal place sets the balance of sources 3
// and 4, its vertical place that of sources 1 and 2. The thumb's centre stays inside a circle; a right
// click centres it. Not a control: it listens to the thumb's mouse events and sends edits through the
// window.
class uiSourceMix : public VSTGUI::ViewMouseListenerAdapter
{
public:
	explicit uiSourceMix(ZentEditor& editor);
	uiSourceMix(const uiSourceMix&) = delete;
	uiSourceMix& operator=(const uiSourceMix&) = delete;
	~uiSourceMix() override;

	// Places the thumb from the facade's two balances; sends nothing.
	void onSourceMixParametersChanged();
	// Centres the thumb; with notify, sends the centred balances.
	void resetToCenter(bool notify);
	// Sends the balances of the thumb's place.
	void updateMixValuesFromView();
	// Pulls the thumb's centre back onto the circle when it lies outside.
	void limitBounds() const;

	// A right click centres; a left press starts a drag, which moves with the left button alone held carry
	// on until the button is released or the toolkit cancels the drag. Each is one edit gesture on both
	// balances for the host.
	VSTGUI::CMouseEventResult viewOnMouseDown(VSTGUI::CView* view, VSTGUI::CPoint where,
	                                          VSTGUI::CButtonState buttons) override;
	VSTGUI::CMouseEventResult viewOnMouseMoved(VSTGUI::CView* view, VSTGUI::CPoint where,
	                                           VSTGUI::CButtonState buttons) override;
	VSTGUI::CMouseEventResult viewOnMouseUp(VSTGUI::CView* view, VSTGUI::CPoint where,
	                                        VSTGUI::CButtonState buttons) override;
	VSTGUI::CMouseEventResult viewOnMouseCancel(VSTGUI::CView* view) override;

private:
	void beginGesture() const;
	void endGesture();
	void setThumbTopLeft(const VSTGUI::CPoint& topLeft) const;
	void invalidateArea() const;

	ZentEditor& m_editor;
	bool m_dragging = false;
	VSTGUI::CViewContainer* m_area = nullptr;
	VSTGUI::CView* m_thumb = nullptr;
	VSTGUI::CPoint m_thumbSize;
	// The thumb's top-left as the description lays it out, in the far corner: its top-left stays
	// within 0 and this on each axis, and a balance is the top-left divided by it.
	VSTGUI::CPoint m_travel;
	VSTGUI::CPoint m_mix;
	VSTGUI::CPoint m_centre;
	double m_radius = 0;
	double m_radiusSquared = 0;
};
