#pragma once

#include <AudioUnit/AUCocoaUIView.h>

// The view factory the host finds through the Cocoa UI property: it asks the instance for its editor owner and
// builds a view around it.
class VirelCocoaUI : public AUCocoaUIBase
{
public:
	unsigned interfaceVersion() override;
	NSView* uiViewForAudioUnit(AudioUnit unit, NSSize preferredSize) override;
	NSString* description() override;
};
