#include <AppKit/NSWindow.h>

NSWindow* NSWindow::initWithContentRect(NSRect contentRect)
{
	m_contentRect = contentRect;
	return this;
}

void NSWindow::setContentView(NSView* view)
{
	if (view == m_contentView)
		return;
	if (view)
		view->retain();
	if (NSView* old = m_contentView)
	{
		m_contentView = nullptr;
		old->setWindow(nullptr);
		old->release();
	}
	m_contentView = view;
	if (!view)
		return;
	view->setFrame(NSMakeRect(0, 0, m_contentRect.size.width, m_contentRect.size.height));
	view->setWindow(this);
}

BOOL NSWindow::makeFirstResponder(NSView* view)
{
	if (view && !view->acceptsFirstResponder())
		return NO;
	m_firstResponder = view;
	return YES;
}

void NSWindow::forget(NSView* view)
{
	if (m_mouseTarget == view)
		m_mouseTarget = nullptr;
	if (m_firstResponder == view)
		m_firstResponder = nullptr;
}

NSView* NSWindow::viewUnder(NSPoint location) const
{
	return m_contentView ? m_contentView->hitTest(location) : nullptr;
}

void NSWindow::sendEvent(NSEvent* event)
{
	NSView* target = nullptr;
	const NSEventType type = event->type();
	switch (type)
	{
	case NSEventTypeLeftMouseDown:
	case NSEventTypeRightMouseDown:
		target = m_mouseTarget = viewUnder(event->locationInWindow());
		if (target && target->acceptsFirstResponder())
			m_firstResponder = target;
		break;
	case NSEventTypeLeftMouseDragged:
	case NSEventTypeRightMouseDragged:
	case NSEventTypeLeftMouseUp:
	case NSEventTypeRightMouseUp:
		target = m_mouseTarget ? m_mouseTarget : viewUnder(event->locationInWindow());
		break;
	case NSEventTypeKeyDown:
	case NSEventTypeKeyUp:
		target = m_firstResponder ? m_firstResponder : m_contentView;
		break;
	default:
		target = viewUnder(event->locationInWindow());
		break;
	}
	if (!target)
		return;
	// The view may leave the window while it handles the event.
	target->retain();
	switch (type)
	{
	case NSEventTypeLeftMouseDown: target->mouseDown(event); break;
	case NSEventTypeLeftMouseUp: target->mouseUp(event); break;
	case NSEventTypeRightMouseDown: target->rightMouseDown(event); break;
	case NSEventTypeRightMouseUp: target->rightMouseUp(event); break;
	case NSEventTypeLeftMouseDragged:
	case NSEventTypeRightMouseDragged: target->mouseDragged(event); break;
	case NSEventTypeMouseMoved: target->mouseMoved(event); break;
	case NSEventTypeMouseExited: target->mouseExited(event); break;
	case NSEventTypeKeyDown: target->keyDown(event); break;
	case NSEventTypeKeyUp: target->keyUp(event); break;
	case NSEventTypeScrollWheel: target->scrollWheel(event); break;
	}
	if (type == NSEventTypeLeftMouseUp || type == NSEventTypeRightMouseUp)
		m_mouseTarget = nullptr;
	target->release();
}

void NSWindow::dealloc()
{
	setContentView(nullptr);
	NSObject::dealloc();
}
