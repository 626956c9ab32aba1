#pragma once

#include <cstdint>

namespace VSTGUI
{
struct VstKeyCode
{
	int32_t character {0};
	unsigned char virt {0};
	unsigned char modifier {0};
};

enum VstVirtualKey
{
	VKEY_BACK = 1,
	VKEY_TAB,
	VKEY_CLEAR,
	VKEY_RETURN,
	VKEY_PAUSE,
	VKEY_ESCAPE,
	VKEY_SPACE,
	VKEY_NEXT,
	VKEY_END,
	VKEY_HOME,
	VKEY_LEFT,
	VKEY_UP,
	VKEY_RIGHT,
	VKEY_DOWN,
	VKEY_PAGEUP,
	VKEY_PAGEDOWN,
	VKEY_SELECT,
	VKEY_PRINT,
	VKEY_ENTER,
	VKEY_SNAPSHOT,
	VKEY_INSERT,
	VKEY_DELETE,
	VKEY_HELP
};

enum VstModifierKey
{
	MODIFIER_SHIFT = 1 << 0,
	MODIFIER_ALTERNATE = 1 << 1,
	MODIFIER_COMMAND = 1 << 2,
	MODIFIER_CONTROL = 1 << 3
};
} // VSTGUI
