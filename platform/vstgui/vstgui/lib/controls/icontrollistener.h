#pragma once

#include "../cbuttonstate.h"
#include "../vstguifwd.h"

namespace VSTGUI
{
class IControlListener
{
public:
	virtual ~IControlListener () noexcept = default;
	virtual void valueChanged (CControl* pControl) = 0;
	virtual int32_t controlModifierClicked (CControl* /*pControl*/, CButtonState /*button*/) { return 0; }
	virtual void controlBeginEdit (CControl* /*pControl*/) {}
	virtual void controlEndEdit (CControl* /*pControl*/) {}
	virtual void controlTagWillChange (CControl* /*pControl*/) {}
	virtual void controlTagDidChange (CControl* /*pControl*/) {}
};
} // VSTGUI
