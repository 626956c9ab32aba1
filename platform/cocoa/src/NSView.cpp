#include <AppKit/NSView.h>
#include <AppKit/NSWindow.h>

#include <cairo/cairo.h>

#include <algorithm>
#include <mutex>
#include <set>

const char* const NSViewFrameDidChangeNotification = "NSViewFrameDidChangeNotification";

namespace
{
std::mutex g_viewsMutex;
std::set<const void*>& liveViews()
{
	static auto* views = new std::set<const void*>; // views may outlive static teardown
	return *views;
}
}

NSView::NSView()
{
	std::lock_guard<std::mutex> lock(g_viewsMutex);
	liveViews().insert(this);
}

BOOL NSView::isView(const void* pointer)
{
	std::lock_guard<std::mutex> lock(g_viewsMutex);
	return liveViews().count(pointer) != 0;
}

NSView* NSView::initWithFrame(NSRect frame)
{
	m_frame = frame;
	return this;
}

void NSView::setFrame(NSRect frame)
{
	if (NSEqualRects(frame, m_frame))
		return;
	m_frame = frame;
	if (m_postsFrameChanged)
		NSNotificationCenter::defaultCenter()->postNotificationName(NSViewFrameDidChangeNotification, this);
}

void NSView::addSubview(NSView* view)
{
	if (!view || view == this)
		return;
	view->retain();
	if (view->m_superview)
		view->removeFromSuperview();
	m_subviews.push_back(view);
	view->m_superview = this;
	view->setWindow(m_window);
}

void NSView::removeFromSuperview()
{
	NSView* parent = m_superview;
	if (!parent)
		return;
	auto& siblings = parent->m_subviews;
	siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
	m_superview = nullptr;
	setWindow(nullptr);
	release();
}

void NSView::setWindow(NSWindow* window)
{
	if (window == m_window)
		return;
	if (m_window)
		m_window->forget(this);
	m_window = window;
	viewDidMoveToWindow();
	for (NSView* view : std::vector<NSView*>(m_subviews))
		view->setWindow(window);
}

NSView* NSView::hitTest(NSPoint point)
{
	if (!NSPointInRect(point, m_frame))
		return nullptr;
	const NSPoint local = NSMakePoint(point.x - m_frame.origin.x, point.y - m_frame.origin.y);
	for (auto it = m_subviews.rbegin(); it != m_subviews.rend(); ++it)
		if (NSView* hit = (*it)->hitTest(local))
			return hit;
	return this;
}

namespace
{
NSPoint originInWindow(const NSView* view)
{
	NSPoint origin;
	for (; view; view = view->superview())
	{
		origin.x += view->frame().origin.x;
		origin.y += view->frame().origin.y;
	}
	return origin;
}
}

NSPoint NSView::convertPointFromView(NSPoint point, NSView* from) const
{
	const NSPoint source = from ? originInWindow(from) : NSPoint{};
	const NSPoint target = originInWindow(this);
	return NSMakePoint(point.x + source.x - target.x, point.y + source.y - target.y);
}

void NSView::mouseDown(NSEvent* event)
{
	if (m_superview)
		m_superview->mouseDown(event);
}

void NSView::mouseDragged(NSEvent* event)
{
	if (m_superview)
		m_superview->mouseDragged(event);
}

void NSView::mouseUp(NSEvent* event)
{
	if (m_superview)
		m_superview->mouseUp(event);
}

void NSView::rightMouseDown(NSEvent* event)
{
	if (m_superview)
		m_superview->rightMouseDown(event);
}

void NSView::rightMouseUp(NSEvent* event)
{
	if (m_superview)
		m_superview->rightMouseUp(event);
}

void NSView::mouseMoved(NSEvent* event)
{
	if (m_superview)
		m_superview->mouseMoved(event);
}

void NSView::mouseExited(NSEvent*)
{
}

void NSView::scrollWheel(NSEvent* event)
{
	if (m_superview)
		m_superview->scrollWheel(event);
}

void NSView::keyDown(NSEvent* event)
{
	if (m_superview)
		m_superview->keyDown(event);
}

void NSView::keyUp(NSEvent* event)
{
	if (m_superview)
		m_superview->keyUp(event);
}

void NSView::drawRect(NSRect)
{
}

NSBitmapImageRep* NSView::bitmapImageRepForCachingDisplayInRect(NSRect rect)
{
	return NSObject::alloc<NSBitmapImageRep>()->initWithSize(NSInteger(rect.size.width + 0.5),
		NSInteger(rect.size.height + 0.5));
}

void NSView::cacheDisplayInRect(NSRect rect, NSBitmapImageRep* rep)
{
	if (!rep)
		return;
	cairo_t* cr = cairo_create(rep->surface());
	cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
	cairo_paint(cr);
	cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
	cairo_translate(cr, -rect.origin.x, -rect.origin.y);
	displayInto(cr);
	cairo_destroy(cr);
	cairo_surface_flush(rep->surface());
}

void NSView::displayInto(cairo_t* cr)
{
	cairo_save(cr);
	cairo_rectangle(cr, 0, 0, m_frame.size.width, m_frame.size.height);
	cairo_clip(cr);
	{
		NSGraphicsContext::Scope current(cr);
		drawRect(bounds());
	}
	for (NSView* view : m_subviews)
	{
		cairo_save(cr);
		cairo_translate(cr, view->m_frame.origin.x, view->m_frame.origin.y);
		view->displayInto(cr);
		cairo_restore(cr);
	}
	cairo_restore(cr);
}

void NSView::dealloc()
{
	for (NSView* view : std::vector<NSView*>(m_subviews))
		view->removeFromSuperview();
	{
		std::lock_guard<std::mutex> lock(g_viewsMutex);
		liveViews().erase(this);
	}
	NSObject::dealloc();
}
