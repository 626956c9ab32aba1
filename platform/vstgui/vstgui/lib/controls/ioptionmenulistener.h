#pragma once

#include "../vstguifwd.h"

namespace VSTGUI
{
// The two operations the editor's menus implement; see the README for the third one newer
// releases add.
class IOptionMenuListener
{
public:
	virtual void onOptionMenuPrePopup (COptionMenu* menu) = 0;
	virtual void onOptionMenuPostPopup (COptionMenu* menu) = 0;
};

class OptionMenuListenerAdapter : public IOptionMenuListener
{
public:
	void onOptionMenuPrePopup (COptionMenu*) override {}
	void onOptionMenuPostPopup (COptionMenu*) override {}
};
} // VSTGUI
