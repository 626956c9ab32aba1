#pragma once

#include <string>

#include "vstgui/vstgui.h"

// A menu of titled groups and submenus cannot mark its current value at the top level, so this listener
// shows the value as a temporary first entry while the menu is closed and takes it away while it is open.
class uiMultilevelOptionMenu : public VSTGUI::IOptionMenuListener
{
public:
	explicit uiMultilevelOptionMenu(VSTGUI::COptionMenu* menu);
	uiMultilevelOptionMenu(const uiMultilevelOptionMenu&) = delete;
	uiMultilevelOptionMenu& operator=(const uiMultilevelOptionMenu&) = delete;

	void onOptionMenuPrePopup(VSTGUI::COptionMenu* menu) override;
	void onOptionMenuPostPopup(VSTGUI::COptionMenu* menu) override;
	virtual ~uiMultilevelOptionMenu();

	void setTitle(const std::string& text);

private:
	VSTGUI::COptionMenu* m_menu;
	std::string m_title;
	bool m_temporaryEntryShown = false;
	// The toolkit clears its own flag only after telling its listeners that the menu closed.
	bool m_popupOpen = false;
};
