#include "x11dialoghost.h"

#include "vstgui/lib/platform/x11frame.h"

#include <CoreFoundation/CFStandIn.h>

#include <algorithm>
#include <vector>

namespace VSTGUI::X11DialogHost
{
namespace
{
class Frames : public cf::DialogHost
{
public:
	unsigned long dialogParentWindow () override
	{
		X11PlatformFrame* owner = handlingInput ? handlingInput : lastInput;
		if (owner == nullptr && !frames.empty ())
			owner = frames.back ();
		return owner ? owner->getTopLevelWindow () : 0;
	}

	void whileDialogOpen () override
	{
		for (X11PlatformFrame* frame : std::vector<X11PlatformFrame*> (frames))
			frame->processEventsWhileDialogOpen ();
	}

	std::vector<X11PlatformFrame*> frames;
	X11PlatformFrame* handlingInput {nullptr};
	X11PlatformFrame* lastInput {nullptr};
	cf::DialogHost* previous {nullptr};
};

thread_local Frames t_frames;
} // namespace

void add (X11PlatformFrame* frame)
{
	if (t_frames.frames.empty ())
		t_frames.previous = cf::setDialogHost (&t_frames);
	t_frames.frames.push_back (frame);
}

void remove (X11PlatformFrame* frame)
{
	auto& frames = t_frames.frames;
	const auto it = std::find (frames.begin (), frames.end (), frame);
	if (it == frames.end ())
		return;
	frames.erase (it);
	if (t_frames.handlingInput == frame)
		t_frames.handlingInput = nullptr;
	if (t_frames.lastInput == frame)
		t_frames.lastInput = nullptr;
	if (frames.empty ())
		cf::setDialogHost (t_frames.previous);
}

X11PlatformFrame* setHandlingInput (X11PlatformFrame* frame)
{
	X11PlatformFrame* previous = t_frames.handlingInput;
	t_frames.handlingInput = frame;
	if (frame)
		t_frames.lastInput = frame;
	return previous;
}
} // VSTGUI::X11DialogHost
