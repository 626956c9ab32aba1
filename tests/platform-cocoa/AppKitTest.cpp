#include <Cocoa/Cocoa.h>

#include <cairo/cairo.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<std::string> g_log;

// Records its lifetime and the input and window moves it sees; fills itself with one colour.
class ProbeView : public NSView
{
public:
	std::string name;
	bool takesKeys = false;
	unsigned char red = 0;

	void mouseDown(NSEvent* e) override { note("down", e); }
	void mouseDragged(NSEvent* e) override { note("drag", e); }
	void mouseUp(NSEvent* e) override { note("up", e); }
	void keyDown(NSEvent* e) override { g_log.push_back(name + " key " + std::to_string(e->character())); }
	BOOL acceptsFirstResponder() const override { return takesKeys; }
	void viewDidMoveToWindow() override { g_log.push_back(name + (window() ? " in window" : " out of window")); }
	void drawRect(NSRect) override
	{
		cairo_t* cr = NSGraphicsContext::currentContext()->graphicsPort();
		cairo_set_source_rgb(cr, red / 255.0, 0, 1);
		cairo_paint(cr);
	}

protected:
	void dealloc() override
	{
		g_log.push_back(name + " dealloc");
		NSView::dealloc();
	}

private:
	void note(const char* what, NSEvent* e)
	{
		const NSPoint p = convertPointFromView(e->locationInWindow(), nullptr);
		g_log.push_back(name + " " + what + " " + std::to_string(int(p.x)) + "," + std::to_string(int(p.y)));
	}
};

ProbeView* probe(const std::string& name, NSRect frame)
{
	auto* view = static_cast<ProbeView*>(NSObject::alloc<ProbeView>()->initWithFrame(frame));
	view->name = name;
	return view;
}

class AppKit : public ::testing::Test
{
protected:
	void SetUp() override { g_log.clear(); }
};
}

TEST_F(AppKit, AutoreleasedObjectsGoWithTheirPoolAndSuperviewsHoldTheirSubviews)
{
	ProbeView* parent = probe("parent", NSMakeRect(0, 0, 100, 100));
	{
		NSAutoreleasePool outer;
		ProbeView* child = probe("child", NSMakeRect(10, 10, 20, 20));
		parent->addSubview(child);
		child->release();
		{
			NSAutoreleasePool inner;
			probe("temporary", NSMakeRect(0, 0, 1, 1))->autorelease();
			parent->retain()->autorelease();
			EXPECT_EQ(NSAutoreleasePool::pendingCount(), 2u);
		}
		EXPECT_EQ(g_log, (std::vector<std::string>{"temporary dealloc"}));
		EXPECT_EQ(parent->retainCount(), 1u);
		EXPECT_TRUE(NSView::isView(child));
	}
	NSView* child = parent->subviews().at(0);
	parent->release();
	EXPECT_EQ(g_log, (std::vector<std::string>{"temporary dealloc", "parent dealloc", "child dealloc"}));
	EXPECT_FALSE(NSView::isView(child));
}

TEST_F(AppKit, WindowRoutesPressesToTheViewUnderThemAndKeysToTheFirstResponder)
{
	NSWindow* window = NSObject::alloc<NSWindow>()->initWithContentRect(NSMakeRect(0, 0, 200, 100));
	ProbeView* content = probe("content", NSMakeRect(0, 0, 10, 10));
	ProbeView* button = probe("button", NSMakeRect(50, 20, 30, 30));
	button->takesKeys = true;
	content->addSubview(button);
	button->release();
	window->setContentView(content);
	content->release();
	EXPECT_EQ(content->frame().size.width, 200);

	NSAutoreleasePool pool;
	window->sendEvent(NSEvent::keyEventWithType(NSEventTypeKeyDown, 'a', 0));
	window->sendEvent(NSEvent::mouseEventWithType(NSEventTypeLeftMouseDown, NSMakePoint(60, 25), 0, 1));
	// A drag that leaves the view stays with it until the release.
	window->sendEvent(NSEvent::mouseEventWithType(NSEventTypeLeftMouseDragged, NSMakePoint(150, 90), 0, 0));
	window->sendEvent(NSEvent::mouseEventWithType(NSEventTypeLeftMouseUp, NSMakePoint(150, 90), 0, 0));
	window->sendEvent(NSEvent::keyEventWithType(NSEventTypeKeyDown, 'b', 0));
	window->sendEvent(NSEvent::mouseEventWithType(NSEventTypeLeftMouseDown, NSMakePoint(5, 5), 0, 1));
	button->retain();
	button->removeFromSuperview();
	window->sendEvent(NSEvent::keyEventWithType(NSEventTypeKeyDown, 'c', 0));
	button->release();
	window->release();
	EXPECT_EQ(g_log, (std::vector<std::string>{"content in window", "button in window", "content key 97",
						 "button down 10,5", "button drag 100,70", "button up 100,70", "button key 98",
						 "content down 5,5", "button out of window", "content key 99", "button dealloc",
						 "content out of window", "content dealloc"}));
}

TEST_F(AppKit, FrameChangesArePostedOnlyWhenAskedForAndOnlyForRealChanges)
{
	ProbeView* view = probe("view", NSMakeRect(0, 0, 10, 10));
	int posted = 0;
	id token = NSNotificationCenter::defaultCenter()->addObserverForName(NSViewFrameDidChangeNotification, view,
		[&](const NSNotification& n) {
			EXPECT_EQ(n.object, view);
			++posted;
		});
	view->setFrame(NSMakeRect(0, 0, 20, 20));
	view->setPostsFrameChangedNotifications(YES);
	view->setFrame(NSMakeRect(0, 0, 20, 20));
	view->setFrame(NSMakeRect(0, 0, 30, 20));
	NSNotificationCenter::defaultCenter()->removeObserver(token);
	view->setFrame(NSMakeRect(0, 0, 40, 20));
	EXPECT_EQ(posted, 1);
	view->release();
}

TEST_F(AppKit, CachedDisplayDrawsSubviewsOverTheirParentAtTheirPlace)
{
	ProbeView* parent = probe("parent", NSMakeRect(0, 0, 40, 30));
	ProbeView* child = probe("child", NSMakeRect(10, 5, 10, 10));
	child->red = 255;
	parent->addSubview(child);
	child->release();
	NSBitmapImageRep* image = parent->bitmapImageRepForCachingDisplayInRect(parent->bounds());
	parent->cacheDisplayInRect(parent->bounds(), image);
	ASSERT_EQ(image->pixelsWide(), 40);
	ASSERT_EQ(image->pixelsHigh(), 30);
	unsigned char rgba[4];
	image->getPixel(9, 5, rgba);
	EXPECT_EQ(rgba[0], 0);
	image->getPixel(10, 5, rgba);
	EXPECT_EQ(rgba[0], 255);
	EXPECT_EQ(rgba[3], 255);
	image->getPixel(19, 14, rgba);
	EXPECT_EQ(rgba[0], 255);
	image->getPixel(20, 14, rgba);
	EXPECT_EQ(rgba[0], 0);
	image->release();
	parent->release();
}
