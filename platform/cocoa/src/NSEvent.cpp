#include <AppKit/NSEvent.h>

NSEvent* NSEvent::mouseEventWithType(NSEventType type, NSPoint location, NSUInteger modifierFlags, NSInteger clickCount)
{
	auto* event = NSObject::alloc<NSEvent>();
	event->m_type = type;
	event->m_location = location;
	event->m_modifierFlags = modifierFlags;
	event->m_clickCount = clickCount;
	event->autorelease();
	return event;
}

NSEvent* NSEvent::keyEventWithType(NSEventType type, uint32_t character, NSUInteger modifierFlags)
{
	auto* event = NSObject::alloc<NSEvent>();
	event->m_type = type;
	event->m_character = character;
	event->m_modifierFlags = modifierFlags;
	event->autorelease();
	return event;
}

NSEvent* NSEvent::scrollEventAt(NSPoint location, CGFloat deltaY, NSUInteger modifierFlags)
{
	auto* event = NSObject::alloc<NSEvent>();
	event->m_type = NSEventTypeScrollWheel;
	event->m_location = location;
	event->m_deltaY = deltaY;
	event->m_modifierFlags = modifierFlags;
	event->autorelease();
	return event;
}
