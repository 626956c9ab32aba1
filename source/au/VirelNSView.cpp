#include "au/VirelNSView.h"

#include "ZentEditor.h"
#include "au/auEditor.h"
#include "synth/log.h"

namespace
{
constexpr CFTimeInterval kIdleInterval = 0.05;

VSTGUI::CRect sizeRect(double width, double height)
{
	return VSTGUI::CRect(0, 0, width, height);
}
}

VirelNSView* VirelNSView::initWithVirel(auEditor* owner, NSSize preferred)
{
	VSTGUI::CRect rect = preferred.width > 0 && preferred.height > 0 && !owner->pluginHasEditorState()
		? sizeRect(preferred.width, preferred.height)
		: owner->getWindowRect();
	// Whole pixels that the window keeps as they are: a size between pixels would be cut when saved and shrink
	// again here at the next session.
	ZentEditor::fitRect(rect);
	const double w = rect.right - rect.left;
	const double h = rect.bottom - rect.top;
	if (!initWithFrame(NSMakeRect(0, 0, w, h)))
		return nullptr;

	idleTimer = nullptr;
	editController = owner;
	ZENT_LOG("Initial UI size is " << w << " " << h);
	owner->applyViewSize(sizeRect(w, h));

	// The view is not retained: the owner drops the callback when the view goes, and only an open window,
	// which this view opens after installing the callback, reports size changes.
	owner->addView(this, [view = this](auEditor* editor) {
		const VSTGUI::CRect r = editor->getWindowRect();
		view->setFrame(NSMakeRect(0, 0, r.right - r.left, r.bottom - r.top));
		editor->saveStateToPlugin();
	});
	owner->open(this);

	CFRunLoopTimerContext context{0, this, nullptr, nullptr, nullptr};
	idleTimer = CFRunLoopTimerCreate(kCFAllocatorDefault, CFAbsoluteTimeGetCurrent() + kIdleInterval, kIdleInterval, 0,
		0, timerCallback, &context);
	if (idleTimer)
		CFRunLoopAddTimer(CFRunLoopGetMain(), idleTimer, kCFRunLoopCommonModes);
	return this;
}

void VirelNSView::setFrame(NSRect frame)
{
	ZENT_LOG("setFrame new size " << frame.size.width << " " << frame.size.height);
	if (!auEditor::isSize(frame.size.width, frame.size.height))
		return;
	// A host may make the next view before it lets go of this one: a view that does not show the window sizes
	// only itself.
	if (editController && editController->takesSizeFrom(this))
	{
		editController->applyViewSize(sizeRect(frame.size.width, frame.size.height));
		// The window keeps to its rules and has already put this view at the size it took, from inside the
		// call above; the request must not have the last word over it.
		if (editController->showsWindowIn(this))
		{
			const VSTGUI::CRect r = editController->getWindowRect();
			frame.size = NSMakeSize(r.right - r.left, r.bottom - r.top);
		}
	}
	NSView::setFrame(frame);
}

void VirelNSView::doIdle()
{
	if (editController)
		editController->idle();
}

void VirelNSView::ownerGone()
{
	editController = nullptr;
	if (idleTimer)
		CFRunLoopTimerInvalidate(idleTimer);
}

void VirelNSView::dealloc()
{
	if (editController)
		editController->removeView(this);
	if (idleTimer)
	{
		CFRunLoopTimerInvalidate(idleTimer);
		// The view made the timer and holds the only other reference.
		CFRelease(idleTimer);
		idleTimer = nullptr;
	}
	NSView::dealloc();
}

void timerCallback(CFRunLoopTimerRef, void* info)
{
	static_cast<VirelNSView*>(info)->doIdle();
}
