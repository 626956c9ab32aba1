#include "vstgui/plugin-bindings/plugguieditor.h"

#include "vstgui/lib/vstguiinit.h"

#include <chrono>
#include <thread>

namespace VSTGUI
{
int32_t PluginGUIEditor::knobMode = kCircularMode;

PluginGUIEditor::PluginGUIEditor (void* pEffect) : effect (pEffect)
{
}

PluginGUIEditor::~PluginGUIEditor () noexcept = default;

bool PluginGUIEditor::getRect (ERect** ppRect)
{
	*ppRect = &rect;
	return true;
}

bool PluginGUIEditor::open (void* ptr)
{
	systemWindow = ptr;
	return true;
}

void PluginGUIEditor::close ()
{
	systemWindow = nullptr;
}

void PluginGUIEditor::idle ()
{
	if (frame)
		frame->idle ();
}

void PluginGUIEditor::doIdleStuff ()
{
	idle ();
}

int32_t PluginGUIEditor::setKnobMode (int32_t val)
{
	knobMode = val;
	return 1;
}

int32_t PluginGUIEditor::getKnobMode () const
{
	return knobMode;
}

void PluginGUIEditor::wait (uint32_t ms)
{
	std::this_thread::sleep_for (std::chrono::milliseconds (ms));
}

uint32_t PluginGUIEditor::getTicks ()
{
	using namespace std::chrono;
	static const auto start = steady_clock::now ();
	return static_cast<uint32_t> (duration_cast<milliseconds> (steady_clock::now () - start).count ());
}

void init (PlatformInstanceHandle)
{
}

void exit ()
{
}
} // VSTGUI
