#pragma once

#include "vstgui/vstgui.h"

class ZentEditor;

// The active source's envelope drawn as one shape.
class uiEnvelope : public VSTGUI::CControl
{
public:
	uiEnvelope(ZentEditor& editor, const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, long tag,
	           VSTGUI::CBitmap* background);
	uiEnvelope(const uiEnvelope& other);
	~uiEnvelope() noexcept override;

	CLASS_METHODS(uiEnvelope, CControl)
	void draw(VSTGUI::CDrawContext* context) override;

	// Reads the five envelope values of the active source and redraws when one changed.
	void updateFromParameters();

private:
	ZentEditor& m_editor;
};
