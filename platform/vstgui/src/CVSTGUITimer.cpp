#include "vstgui/lib/cvstguitimer.h"

#include <CoreFoundation/CoreFoundation.h>

#include <algorithm>
#include <limits>

namespace VSTGUI
{
IdStringPtr kMsgTimer = "timer";

namespace
{
// A repeating timer on the run loop of the thread that starts it, in the common modes, so it
// also fires while menus and modal loops run.
class RunLoopTimer : public IPlatformTimer
{
public:
	explicit RunLoopTimer (IPlatformTimerCallback* callback) : callback (callback) {}
	~RunLoopTimer () noexcept override { stop (); }

	bool start (uint32_t ms) override
	{
		stop ();
		const CFTimeInterval interval = std::max<uint32_t> (ms, 1) / 1000.;
		CFRunLoopTimerContext context {0, this, nullptr, nullptr, nullptr};
		timer = CFRunLoopTimerCreate (kCFAllocatorDefault, CFAbsoluteTimeGetCurrent () + interval, interval, 0, 0,
		                              fired, &context);
		if (timer == nullptr)
			return false;
		CFRunLoopAddTimer (CFRunLoopGetCurrent (), timer, kCFRunLoopCommonModes);
		return true;
	}

	bool stop () override
	{
		if (timer == nullptr)
			return false;
		CFRunLoopTimerInvalidate (timer);
		CFRelease (timer);
		timer = nullptr;
		return true;
	}

private:
	static void fired (CFRunLoopTimerRef, void* info)
	{
		auto* self = static_cast<RunLoopTimer*> (info);
		self->remember ();
		self->callback->fire ();
		self->forget ();
	}

	IPlatformTimerCallback* callback;
	CFRunLoopTimerRef timer {nullptr};
};

class RunLoopTimerHost : public ITimerHost
{
public:
	IPlatformTimer* createTimer (IPlatformTimerCallback* callback) override { return new RunLoopTimer (callback); }
};

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
	static RunLoopTimerHost runLoopHost;
	ITimerHost* host = currentHost ();
	return host ? host : &runLoopHost;
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
