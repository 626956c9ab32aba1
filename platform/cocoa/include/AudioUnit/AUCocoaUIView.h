#pragma once

#include <AudioUnit/AudioUnit.h>
#include <Cocoa/Cocoa.h>

#include <cstring>

// The protocol of an Audio Unit's view factory: the class named by the Cocoa UI property adopts it. The host makes
// one factory object, asks it for views and releases it.
class AUCocoaUIBase : public NSObject
{
public:
	static constexpr const char* kProtocolName = "AUCocoaUIBase";

	// 0 for the current protocol.
	virtual unsigned interfaceVersion() = 0;
	// A new autoreleased view for the unit, sized after the preferred size when it can be; nil when there is none.
	virtual NSView* uiViewForAudioUnit(AudioUnit unit, NSSize preferredSize) = 0;

	BOOL conformsToProtocol(const char* protocolName) const override
	{
		return std::strcmp(protocolName, kProtocolName) == 0 || NSObject::conformsToProtocol(protocolName);
	}
};
