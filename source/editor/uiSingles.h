#pragma once

#include <cstddef>

#include "vstgui/vstgui.h"

class ZentEditor;

// The browser of the 768 singles on the play page.
class uiSingles : public VSTGUI::ViewMouseListenerAdapter, public VSTGUI::IControlListener
{
public:
	explicit uiSingles(ZentEditor& editor);
	uiSingles(const uiSingles&) = delete;
	uiSingles& operator=(const uiSingles&) = delete;
	~uiSingles() override;

	void valueChanged(VSTGUI::CControl* control) override;

	// Fills the page that starts at the given map position.
	void setSingleNames(size_t offset);
	// The map position the page on show starts at.
	size_t getPageOffset() const { return m_pageOffset; }

private:
	ZentEditor& m_editor;
	size_t m_pageOffset = 0;
};
