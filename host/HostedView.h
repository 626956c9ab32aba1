#pragma once

#include <AudioUnit/AudioUnit.h>
#include <Cocoa/Cocoa.h>

#include <string>

// A unit's custom view, obtained as an Audio Unit host obtains it: the Cocoa UI property names a bundle and a
// view factory class; the class, loaded from that bundle, makes a view for the unit at a preferred size. The
// host holds one reference to the view until it is destroyed.
class HostedView
{
public:
	// Throws HostError when the unit offers no view or its factory makes none.
	HostedView(AudioUnit unit, NSSize preferredSize);
	~HostedView();
	HostedView(const HostedView&) = delete;
	HostedView& operator=(const HostedView&) = delete;

	NSView* view() const { return m_view; }
	// What the factory calls itself.
	const std::string& factoryDescription() const { return m_description; }

private:
	NSView* m_view = nullptr;
	std::string m_description;
};
