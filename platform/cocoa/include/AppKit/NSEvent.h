#pragma once

#include <Foundation/Foundation.h>

#include <cstdint>

enum NSEventType : NSUInteger
{
	NSEventTypeLeftMouseDown = 1,
	NSEventTypeLeftMouseUp = 2,
	NSEventTypeRightMouseDown = 3,
	NSEventTypeRightMouseUp = 4,
	NSEventTypeMouseMoved = 5,
	NSEventTypeLeftMouseDragged = 6,
	NSEventTypeRightMouseDragged = 7,
	NSEventTypeMouseExited = 9,
	NSEventTypeKeyDown = 10,
	NSEventTypeKeyUp = 11,
	NSEventTypeScrollWheel = 22
};

enum : NSUInteger
{
	NSEventModifierFlagShift = 1 << 17,
	NSEventModifierFlagControl = 1 << 18,
	NSEventModifierFlagOption = 1 << 19,
	NSEventModifierFlagCommand = 1 << 20
};

// Characters of keys that have no text, as key events report them.
enum : uint32_t
{
	NSEnterCharacter = 0x03,
	NSBackspaceCharacter = 0x08,
	NSTabCharacter = 0x09,
	NSCarriageReturnCharacter = 0x0D,
	NSDeleteCharacter = 0x7F,
	NSUpArrowFunctionKey = 0xF700,
	NSDownArrowFunctionKey = 0xF701,
	NSLeftArrowFunctionKey = 0xF702,
	NSRightArrowFunctionKey = 0xF703,
	NSDeleteFunctionKey = 0xF728,
	NSHomeFunctionKey = 0xF729,
	NSEndFunctionKey = 0xF72B,
	NSPageUpFunctionKey = 0xF72C,
	NSPageDownFunctionKey = 0xF72D
};

// One input event. Locations are in the window's coordinates, origin at the top left (see NSView).
class COCOA_EXPORT NSEvent : public NSObject
{
public:
	// Autoreleased events.
	static NSEvent* mouseEventWithType(NSEventType type, NSPoint location, NSUInteger modifierFlags, NSInteger clickCount);
	static NSEvent* keyEventWithType(NSEventType type, uint32_t character, NSUInteger modifierFlags);
	static NSEvent* scrollEventAt(NSPoint location, CGFloat deltaY, NSUInteger modifierFlags);

	NSEventType type() const { return m_type; }
	NSPoint locationInWindow() const { return m_location; }
	NSUInteger modifierFlags() const { return m_modifierFlags; }
	NSInteger clickCount() const { return m_clickCount; }
	// The key's character as a Unicode code point (function keys in the private-use range above).
	uint32_t character() const { return m_character; }
	CGFloat scrollingDeltaY() const { return m_deltaY; }

private:
	static NSEvent* make(NSEventType type, NSPoint location, NSUInteger modifierFlags);

	NSEventType m_type = NSEventTypeMouseMoved;
	NSPoint m_location;
	NSUInteger m_modifierFlags = 0;
	NSInteger m_clickCount = 0;
	uint32_t m_character = 0;
	CGFloat m_deltaY = 0;
};
