#include "vstgui/lib/cvstguitimer.h"

#include "vstgui/lib/platform/timerrunloop.h"

#include <algorithm>
#include <limits>

namespace VSTGUI
{
IdStringPtr kMsgTimer = "timer";

namespace
{
ITimerHost*& currentHost ()
{
	static ITimerHost* host = nullptr;
	return host;
}
}

void setTimerHost (ITimerHost* host)
{
	currentHost () = host;
}

ITimerHost* getTimerHost ()
{
	ITimerHost* host = currentHost ();
	return host ? host : &TimerRunLoop::instance ();
}

//------------------------------------------------------------------------------------------------

class TimerRunLoop::Timer : public IPlatformTimer
{
public:
	Timer (TimerRunLoop& loop, IPlatformTimerCallback* callback) : loop (loop), callback (callback) {}
	~Timer () noexcept override { stop (); }

	bool start (uint32_t ms) override
	{
		stop ();
		interval = std::max<uint32_t> (ms, 1);
		due = loop.clock + interval;
		order = loop.sequence++;
		loop.timers.push_back (this);
		return true;
	}

	bool stop () override
	{
		auto it = std::find (loop.timers.begin (), loop.timers.end (), this);
		if (it == loop.timers.end ())
			return false;
		loop.timers.erase (it);
		return true;
	}

	TimerRunLoop& loop;
	IPlatformTimerCallback* callback;
	uint64_t interval {0};
	uint64_t due {0};
	uint64_t order {0};
};

TimerRunLoop& TimerRunLoop::instance ()
{
	static TimerRunLoop loop;
	return loop;
}

IPlatformTimer* TimerRunLoop::createTimer (IPlatformTimerCallback* callback)
{
	return new Timer (*this, callback);
}

void TimerRunLoop::advance (uint64_t ms)
{
	const uint64_t target = clock + ms;
	for (;;)
	{
		Timer* next = nullptr;
		for (auto* t : timers)
		{
			if (t->due <= target && (next == nullptr || t->due < next->due || (t->due == next->due && t->order < next->order)))
				next = t;
		}
		if (next == nullptr)
			break;
		clock = next->due;
		next->due += next->interval;
		next->order = sequence++;
		// The callback may stop, restart or release the timer.
		next->remember ();
		next->callback->fire ();
		next->forget ();
	}
	clock = target;
}

int64_t TimerRunLoop::nextDue () const
{
	int64_t best = -1;
	for (auto* t : timers)
	{
		int64_t d = static_cast<int64_t> (t->due - clock);
		if (best < 0 || d < best)
			best = d;
	}
	return best;
}

size_t TimerRunLoop::runningTimers () const
{
	return timers.size ();
}

//------------------------------------------------------------------------------------------------

CVSTGUITimer::CVSTGUITimer (const CallbackFunc& callback, uint32_t fireTime, bool doStart)
: fireTime (fireTime), callbackFunc (callback)
{
	if (doStart)
		start ();
}

CVSTGUITimer::CVSTGUITimer (CallbackFunc&& callback, uint32_t fireTime, bool doStart)
: fireTime (fireTime), callbackFunc (std::move (callback))
{
	if (doStart)
		start ();
}

CVSTGUITimer::CVSTGUITimer (CBaseObject* timerObject, uint32_t fireTime, bool doStart)
: fireTime (fireTime)
, callbackFunc ([timerObject] (CVSTGUITimer* timer) { timerObject->notify (timer, kMsgTimer); })
{
	if (doStart)
		start ();
}

CVSTGUITimer::~CVSTGUITimer () noexcept
{
	stop ();
}

bool CVSTGUITimer::start ()
{
	if (platformTimer)
		return false;
	platformTimer = getTimerHost ()->createTimer (this);
	if (platformTimer == nullptr)
		return false;
	if (!platformTimer->start (fireTime))
	{
		platformTimer->forget ();
		platformTimer = nullptr;
		return false;
	}
	return true;
}

bool CVSTGUITimer::stop ()
{
	if (platformTimer == nullptr)
		return false;
	platformTimer->stop ();
	platformTimer->forget ();
	platformTimer = nullptr;
	return true;
}

bool CVSTGUITimer::setFireTime (uint32_t newFireTime)
{
	if (fireTime == newFireTime)
		return false;
	fireTime = newFireTime;
	if (platformTimer)
	{
		stop ();
		start ();
	}
	return true;
}

void CVSTGUITimer::fire ()
{
	// Whoever owns the timer may release it from inside the callback.
	remember ();
	if (callbackFunc)
		callbackFunc (this);
	forget ();
}

namespace Call
{
void later (const std::function<void ()>& func, uint32_t delayInMilliseconds)
{
	new CVSTGUITimer (
	    [func] (CVSTGUITimer* timer) {
		    timer->stop ();
		    func ();
		    timer->forget ();
	    },
	    delayInMilliseconds, true);
}
}
} // VSTGUI
