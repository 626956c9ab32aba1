#pragma once

#include "../lib/controls/icontrollistener.h"

namespace VSTGUI
{
// What a description's views report to; createView accepts one and this layer passes it no calls.
class IController : public IControlListener
{
public:
	void valueChanged (CControl*) override {}
};
} // VSTGUI
