#pragma once

#include "vstgui/lib/platform/offscreenframe.h"
#include "vstgui/vstgui.h"

#include <string>
#include <vector>

// An editor that records the edit gestures the frame forwards.
class RecordingEditor : public VSTGUI::VSTGUIEditorInterface
{
public:
	~RecordingEditor () noexcept override = default;
	int32_t getKnobMode () const override { return knobMode; }
	void beginEdit (int32_t index) override { calls.push_back ("begin " + std::to_string (index)); }
	void endEdit (int32_t index) override { calls.push_back ("end " + std::to_string (index)); }
	bool beforeSizeChange (const VSTGUI::CRect&, const VSTGUI::CRect&) override { return allowResize; }

	int32_t knobMode {-1};
	bool allowResize {true};
	std::vector<std::string> calls;
};

// An open offscreen frame and helpers that click and type in frame pixels, as a person would.
struct TestFrame
{
	explicit TestFrame (const VSTGUI::CRect& size = VSTGUI::CRect (0, 0, 400, 300))
	{
		frame = new VSTGUI::CFrame (size, &editor);
		frame->open (this);
	}
	~TestFrame () { frame->close (); }

	VSTGUI::OffscreenPlatformFrame& window () const
	{
		return *static_cast<VSTGUI::OffscreenPlatformFrame*> (frame->getPlatformFrame ());
	}

	VSTGUI::CMouseEventResult down (double x, double y, int32_t buttons = VSTGUI::kLButton)
	{
		VSTGUI::CPoint p (x, y);
		return frame->platformOnMouseDown (p, buttons);
	}
	VSTGUI::CMouseEventResult move (double x, double y, int32_t buttons = VSTGUI::kLButton)
	{
		VSTGUI::CPoint p (x, y);
		return frame->platformOnMouseMoved (p, buttons);
	}
	VSTGUI::CMouseEventResult up (double x, double y, int32_t buttons = VSTGUI::kLButton)
	{
		VSTGUI::CPoint p (x, y);
		return frame->platformOnMouseUp (p, buttons);
	}
	void click (double x, double y)
	{
		down (x, y);
		up (x, y);
	}
	bool key (unsigned char virt, int32_t character = 0, unsigned char modifier = 0)
	{
		VSTGUI::VstKeyCode k;
		k.virt = virt;
		k.character = character;
		k.modifier = modifier;
		return frame->platformOnKeyDown (k);
	}
	void type (const std::string& text)
	{
		for (char c : text)
			key (0, static_cast<unsigned char> (c));
	}
	VSTGUI::CColor pixel (int x, int y)
	{
		window ().redraw ();
		return window ().getPixel (x, y);
	}

	RecordingEditor editor;
	VSTGUI::CFrame* frame;
};

// Records what a control reports: its value at each call.
struct ValueRecorder : VSTGUI::IControlListener
{
	void valueChanged (VSTGUI::CControl* control) override { values.push_back (control->getValue ()); }
	std::vector<float> values;
};
