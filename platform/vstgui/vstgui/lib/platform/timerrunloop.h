#pragma once

#include "iplatformtimer.h"

#include <cstdint>
#include <vector>

namespace VSTGUI
{
// A run loop for timers over a clock in milliseconds that moves only through advance (). Tests
// advance it by hand; an event loop advances it by the real time that passed.
class TimerRunLoop : public ITimerHost
{
public:
	static TimerRunLoop& instance ();

	IPlatformTimer* createTimer (IPlatformTimerCallback* callback) override;

	// Moves the clock forward, firing every timer that falls due on the way, in time order.
	void advance (uint64_t ms);
	uint64_t now () const { return clock; }
	// Milliseconds until the next timer fires, or -1 when none is running.
	int64_t nextDue () const;
	size_t runningTimers () const;

private:
	class Timer;
	friend class Timer;
	std::vector<Timer*> timers;
	uint64_t clock {0};
	uint64_t sequence {0};
};
} // VSTGUI
