#include "au/VirelCocoaUI.h"

#include <objc/ClassRegistration.h>

#include "au/VirelNSView.h"
#include "au/auPlugin.h"

namespace
{
// Registered while the plug-in is loaded, from its own image, so that the runtime names that image.
ClassRegistration s_viewFactory("VirelCocoaUI", Nil, [] { return asId(NSObject::alloc<VirelCocoaUI>()); });
}

unsigned VirelCocoaUI::interfaceVersion()
{
	return 0;
}

NSView* VirelCocoaUI::uiViewForAudioUnit(AudioUnit unit, NSSize preferredSize)
{
	auEditor* owner = nullptr;
	UInt32 size = sizeof(owner);
	if (AudioUnitGetProperty(unit, kPropertyEditorInstance, kAudioUnitScope_Global, 0, &owner, &size) != noErr || !owner)
		return nullptr;
	VirelNSView* view = NSObject::alloc<VirelNSView>()->initWithVirel(owner, preferredSize);
	if (!view)
		return nullptr;
	view->autorelease();
	view->setPostsFrameChangedNotifications(YES);
	view->setAutoresizingMask(NSViewWidthSizable | NSViewHeightSizable);
	return view;
}

NSString* VirelCocoaUI::description()
{
	return CFSTR("Vens' Virel Editor");
}
