#pragma once

#include "synth/CParam.h"

// What the editor window needs from its owner: a home for parameter edits and a host view to resize.
class ZentEditorListener
{
public:
	// Sets the parameter in the facade (which calls the window back before returning) and tells the host.
	virtual void changeParameter(zentlib::EParam parameter, float normalisedValue) = 0;
	// The window's rectangle changed or a requested size was adjusted; read it with ZentEditor::getRect.
	virtual void onSizeChanged() = 0;
};
