#include <AppKit/NSEvent.h>

NSEvent* NSEvent::make(NSEventType type, NSPoint location, NSUInteger modifierFlags)
{
	auto* event = NSObject::alloc<NSEvent>();
	event->m_type = type;
	event->m_location = location;
	event->m_modifierFlags = modifierFlags;
	event->autorelease();
	return event;
}

NSEvent* NSEvent::mouseEventWithType(NSEventType type, NSPoint location, NSUInteger modifierFlags, NSInteger clickCount)
{
	NSEvent* event = make(type, location, modifierFlags);
	event->m_clickCount = clickCount;
	return event;
}

NSEvent* NSEvent::keyEventWithType(NSEventType type, uint32_t character, NSUInteger modifierFlags)
{
	NSEvent* event = make(type, NSPoint{}, modifierFlags);
	event->m_character = character;
	return event;
}

NSEvent* NSEvent::scrollEventAt(NSPoint location, CGFloat deltaY, NSUInteger modifierFlags)
{
	NSEvent* event = make(NSEventTypeScrollWheel, location, modifierFlags);
	event->m_deltaY = deltaY;
	return event;
}
