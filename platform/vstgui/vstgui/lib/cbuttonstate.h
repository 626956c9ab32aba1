#pragma once

#include <cstdint>

namespace VSTGUI
{
enum CButton
{
	kLButton = 1 << 1,
	kMButton = 1 << 2,
	kRButton = 1 << 3,
	kShift = 1 << 4,
	kControl = 1 << 5,
	kAlt = 1 << 6,
	kApple = 1 << 7,
	kButton4 = 1 << 8,
	kButton5 = 1 << 9,
	kDoubleClick = 1 << 10,
	kMouseWheelInverted = 1 << 11
};

struct CButtonState
{
	CButtonState (int32_t state = 0) : state (state) {}
	CButtonState (const CButtonState&) = default;
	CButtonState& operator= (const CButtonState&) = default;

	int32_t getButtonState () const { return state & (kLButton | kRButton | kMButton | kButton4 | kButton5); }
	int32_t getModifierState () const { return state & (kShift | kAlt | kControl | kApple); }

	bool isLeftButton () const { return getButtonState () == kLButton; }
	bool isRightButton () const { return getButtonState () == kRButton; }
	bool isMiddleButton () const { return getButtonState () == kMButton; }
	bool isButton4 () const { return getButtonState () == kButton4; }
	bool isButton5 () const { return getButtonState () == kButton5; }
	bool isDoubleClick () const { return (state & kDoubleClick) != 0; }
	bool isShiftSet () const { return (state & kShift) != 0; }
	bool isAltSet () const { return (state & kAlt) != 0; }
	bool isControlSet () const { return (state & kControl) != 0; }
	bool isAppleSet () const { return (state & kApple) != 0; }
	bool empty () const { return state == 0; }

	int32_t operator() () const { return state; }
	int32_t operator& (const CButtonState& other) const { return state & other.state; }
	int32_t operator| (const CButtonState& other) const { return state | other.state; }
	CButtonState& operator&= (const CButtonState& other)
	{
		state &= other.state;
		return *this;
	}
	CButtonState& operator|= (const CButtonState& other)
	{
		state |= other.state;
		return *this;
	}
	bool operator== (const CButtonState& other) const { return state == other.state; }
	bool operator!= (const CButtonState& other) const { return state != other.state; }

private:
	int32_t state;
};
} // VSTGUI
