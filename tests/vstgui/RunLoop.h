#pragma once

#include <CoreFoundation/CFStandIn.h>
#include <CoreFoundation/CoreFoundation.h>

#include <cmath>

// The main run loop under a clock the test moves: timers fire as simulated time passes.
struct RunLoop
{
	void advance (double ms) { CFRunLoopRunInMode (kCFRunLoopDefaultMode, ms / 1000., false); }
	long nowMs () const { return std::lround (clock.now () * 1000.); }

	cf::ManualClock clock {0.0};
};
