#include "uiMultilevelOptionMenu.h"

uiMultilevelOptionMenu::uiMultilevelOptionMenu(VSTGUI::COptionMenu* menu)
: m_menu(menu)
{
	m_menu->registerOptionMenuListener(this);
}

uiMultilevelOptionMenu::~uiMultilevelOptionMenu()
{
	m_menu->unregisterOptionMenuListener(this);
}

void uiMultilevelOptionMenu::setTitle(const std::string& text)
{
	m_title = text;
	// An entry inserted into an open menu would shift every entry under the pointer by one, so a
	// choice made next would land on its neighbour; the closing popup puts the latest title back.
	if (m_popupOpen)
		return;
	if (m_temporaryEntryShown)
	{
		m_menu->getEntry(0)->setTitle(m_title.c_str());
	}
	else
	{
		m_menu->addEntry(m_title.c_str(), 0);
		m_temporaryEntryShown = true;
	}
	m_menu->setCurrent(0, true);
}

void uiMultilevelOptionMenu::onOptionMenuPrePopup(VSTGUI::COptionMenu*)
{
	m_popupOpen = true;
	if (!m_temporaryEntryShown)
		return;
	m_menu->removeEntry(0);
	m_temporaryEntryShown = false;
}

void uiMultilevelOptionMenu::onOptionMenuPostPopup(VSTGUI::COptionMenu*)
{
	m_popupOpen = false;
	setTitle(m_title);
}
