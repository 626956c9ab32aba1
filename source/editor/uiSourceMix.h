#pragma once

#include "vstgui/vstgui.h"

class ZentEditor;

// The round pad that balances sources 1/2 against 3/4.
class uiSourceMix : public VSTGUI::ViewMouseListenerAdapter
{
public:
	explicit uiSourceMix(ZentEditor& editor);
	uiSourceMix(const uiSourceMix&) = delete;
	uiSourceMix& operator=(const uiSourceMix&) = delete;
	~uiSourceMix() override;

	// Places the thumb from the facade's two mix parameters.
	void onSourceMixParametersChanged();

private:
	ZentEditor& m_editor;
};
