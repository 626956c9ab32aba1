#pragma once

#include "vstgui/vstgui.h"

class ZentEditor;

// The backlit two-line display of the front panel.
class uiDisplay : public VSTGUI::ViewMouseListenerAdapter
{
public:
	explicit uiDisplay(ZentEditor& editor);
	uiDisplay(const uiDisplay&) = delete;
	uiDisplay& operator=(const uiDisplay&) = delete;
	~uiDisplay() override;

	void setTextShowCurrentSingle();

private:
	ZentEditor& m_editor;
};
