#pragma once

#include "vstgui/vstgui.h"

class ZentEditor;

// The active source's envelope drawn as one filled shape: delay, attack to full level, decay to the
// sustain level, a plateau one fifth of the width, release to zero. Display only: it takes no input.
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
	// The real value of parameter base + the active source; base is the source-1 parameter.
	float getParameter(unsigned long base) const;

	// Each takes a real value 0..100 and redraws only when it differs from the one shown.
	void setDelay(float value);
	void setAttack(float value);
	void setDecay(float value);
	void setSustain(float value);
	void setRelease(float value);

	void redraw();

private:
	// Named apart from CControl::setValue, which it would otherwise hide.
	void setShown(float& field, float value);

	ZentEditor& m_editor;
	float m_delay = 10;
	float m_attack = 50;
	float m_decay = 50;
	float m_sustain = 50;
	float m_release = 50;
};
