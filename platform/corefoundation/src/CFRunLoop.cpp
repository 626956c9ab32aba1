#include "CFObject.h"

#include <CoreFoundation/CFStandIn.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

const CFTimeInterval kCFAbsoluteTimeIntervalSince1970 = 978307200.0;
const CFRunLoopMode kCFRunLoopDefaultMode = CFSTR("kCFRunLoopDefaultMode");
const CFRunLoopMode kCFRunLoopCommonModes = CFSTR("kCFRunLoopCommonModes");

namespace
{
// All run-loop and timer state is guarded by one lock: a timer can belong to several loops, and the loops of
// other threads only ever post work.
std::mutex g_mutex;

bool g_manualClock = false;
CFAbsoluteTime g_manualNow = 0;

const std::thread::id g_mainThread = std::this_thread::get_id();

CFAbsoluteTime systemNow()
{
	using namespace std::chrono;
	return duration<double>(system_clock::now().time_since_epoch()).count() - kCFAbsoluteTimeIntervalSince1970;
}

CFAbsoluteTime nowLocked()
{
	return g_manualClock ? g_manualNow : systemNow();
}

bool isCommonMode(const std::string& mode)
{
	return mode == "kCFRunLoopDefaultMode" || mode == "NSModalPanelRunLoopMode" || mode == "NSEventTrackingRunLoopMode";
}
}

struct __CFRunLoopTimer : cfimpl::Object
{
	__CFRunLoopTimer() : Object(cfimpl::kTypeRunLoopTimer, nullptr) {}
	~__CFRunLoopTimer() override
	{
		if (m_context.release && m_context.info)
			m_context.release(m_context.info);
	}
	CFAbsoluteTime m_fireDate = 0;
	CFTimeInterval m_interval = 0;
	CFIndex m_order = 0;
	CFRunLoopTimerCallBack m_callout = nullptr;
	CFRunLoopTimerContext m_context{};
	bool m_valid = true;
	std::vector<CFRunLoopRef> m_loops;
};

struct __CFRunLoop : cfimpl::Object
{
	__CFRunLoop() : Object(cfimpl::kTypeRunLoop, nullptr) {}
	struct Entry
	{
		CFRunLoopTimerRef timer;
		std::set<std::string> modes;
	};
	std::vector<Entry> m_timers;
	std::deque<std::function<void()>> m_work;
	std::condition_variable m_wake;
	bool m_stop = false;
	bool m_woken = false;

	bool matches(const Entry& e, const std::string& mode) const
	{
		return e.modes.count(mode) || (e.modes.count("kCFRunLoopCommonModes") && isCommonMode(mode));
	}
	// The earliest timer of the mode, ties broken by order; null when the mode has none.
	CFRunLoopTimerRef firstTimer(const std::string& mode) const
	{
		CFRunLoopTimerRef best = nullptr;
		for (const Entry& e : m_timers)
			if (matches(e, mode) && (!best || e.timer->m_fireDate < best->m_fireDate ||
										(e.timer->m_fireDate == best->m_fireDate && e.timer->m_order < best->m_order)))
				best = e.timer;
		return best;
	}
};

namespace
{
CFRunLoopRef makeLoop()
{
	auto* loop = new __CFRunLoop;
	cfimpl::registerObject(loop, true); // loops live as long as their thread, uncounted
	return loop;
}

CFRunLoopRef mainLoop()
{
	static CFRunLoopRef loop = makeLoop();
	return loop;
}

void removeFromLoopLocked(CFRunLoopRef rl, CFRunLoopTimerRef timer, std::vector<CFRunLoopTimerRef>& toRelease)
{
	auto it = std::find_if(rl->m_timers.begin(), rl->m_timers.end(), [&](auto& e) { return e.timer == timer; });
	if (it == rl->m_timers.end())
		return;
	rl->m_timers.erase(it);
	auto& loops = timer->m_loops;
	loops.erase(std::remove(loops.begin(), loops.end(), rl), loops.end());
	toRelease.push_back(timer);
}

void releaseAll(const std::vector<CFRunLoopTimerRef>& timers)
{
	for (CFRunLoopTimerRef t : timers)
		CFRelease(t);
}

std::string modeName(CFRunLoopMode mode)
{
	return cfimpl::stringOf(mode);
}
}

namespace cf
{
ManualClock::ManualClock(CFAbsoluteTime start)
{
	std::lock_guard<std::mutex> lock(g_mutex);
	if (g_manualClock)
		cfimpl::fatal("a second ManualClock was created while one exists");
	g_manualClock = true;
	g_manualNow = start;
}

ManualClock::~ManualClock()
{
	std::lock_guard<std::mutex> lock(g_mutex);
	g_manualClock = false;
}

CFAbsoluteTime ManualClock::now() const
{
	std::lock_guard<std::mutex> lock(g_mutex);
	return g_manualNow;
}

void ManualClock::advance(CFTimeInterval seconds)
{
	std::lock_guard<std::mutex> lock(g_mutex);
	g_manualNow += seconds;
}

void performOnRunLoop(CFRunLoopRef runLoop, std::function<void()> work)
{
	cfimpl::checked(runLoop, cfimpl::kTypeRunLoop, "performOnRunLoop");
	std::lock_guard<std::mutex> lock(g_mutex);
	runLoop->m_work.push_back(std::move(work));
	runLoop->m_woken = true;
	runLoop->m_wake.notify_all();
}

size_t pendingWorkCount(CFRunLoopRef runLoop)
{
	std::lock_guard<std::mutex> lock(g_mutex);
	return runLoop->m_work.size();
}
}

CFAbsoluteTime CFAbsoluteTimeGetCurrent(void)
{
	std::lock_guard<std::mutex> lock(g_mutex);
	return nowLocked();
}

CFTypeID CFRunLoopGetTypeID(void)
{
	return cfimpl::kTypeRunLoop;
}

CFTypeID CFRunLoopTimerGetTypeID(void)
{
	return cfimpl::kTypeRunLoopTimer;
}

CFRunLoopRef CFRunLoopGetMain(void)
{
	return mainLoop();
}

CFRunLoopRef CFRunLoopGetCurrent(void)
{
	if (std::this_thread::get_id() == g_mainThread)
		return mainLoop();
	thread_local CFRunLoopRef loop = makeLoop();
	return loop;
}

CFRunLoopRunResult CFRunLoopRunInMode(CFRunLoopMode mode, CFTimeInterval seconds, Boolean returnAfterSourceHandled)
{
	const std::string name = modeName(mode);
	CFRunLoopRef rl = CFRunLoopGetCurrent();
	std::unique_lock<std::mutex> lock(g_mutex);
	const CFAbsoluteTime deadline = nowLocked() + std::max(0.0, seconds);
	bool handled = false;
	for (;;)
	{
		if (rl->m_stop)
		{
			rl->m_stop = false;
			return kCFRunLoopRunStopped;
		}
		if (!rl->m_work.empty())
		{
			std::function<void()> work = std::move(rl->m_work.front());
			rl->m_work.pop_front();
			lock.unlock();
			work();
			lock.lock();
			handled = true;
			if (returnAfterSourceHandled)
				return kCFRunLoopRunHandledSource;
			continue;
		}
		const CFAbsoluteTime now = nowLocked();
		CFRunLoopTimerRef timer = rl->firstTimer(name);
		if (timer && timer->m_fireDate <= now)
		{
			CFRetain(timer);
			const bool repeats = timer->m_interval > 0;
			if (repeats)
			{
				// Missed fires are skipped: one call, then the next date on the timer's grid that lies ahead.
				const double steps = std::floor((now - timer->m_fireDate) / timer->m_interval) + 1;
				timer->m_fireDate += steps * timer->m_interval;
			}
			CFRunLoopTimerCallBack callout = timer->m_callout;
			void* info = timer->m_context.info;
			lock.unlock();
			if (callout)
				callout(timer, info);
			if (!repeats)
				CFRunLoopTimerInvalidate(timer);
			CFRelease(timer);
			lock.lock();
			handled = true;
			if (returnAfterSourceHandled)
				return kCFRunLoopRunHandledSource;
			continue;
		}
		if (!timer && !handled)
		{
			// Nothing can ever happen in this mode except posted work; wait for that only until the deadline.
			if (seconds <= 0)
				return kCFRunLoopRunFinished;
		}
		if (now >= deadline)
			return handled && returnAfterSourceHandled ? kCFRunLoopRunHandledSource : kCFRunLoopRunTimedOut;
		const CFAbsoluteTime until = timer ? std::min(timer->m_fireDate, deadline) : deadline;
		if (g_manualClock)
		{
			g_manualNow = std::max(g_manualNow, until);
			continue;
		}
		// A wake-up that came before this wait ends it at once instead of being lost.
		const auto wait = std::chrono::duration<double>(until - now);
		rl->m_wake.wait_for(lock, wait, [&] { return rl->m_woken || rl->m_stop; });
		rl->m_woken = false;
	}
}

void CFRunLoopStop(CFRunLoopRef rl)
{
	cfimpl::checked(rl, cfimpl::kTypeRunLoop, "CFRunLoopStop");
	std::lock_guard<std::mutex> lock(g_mutex);
	rl->m_stop = true;
	rl->m_wake.notify_all();
}

void CFRunLoopWakeUp(CFRunLoopRef rl)
{
	cfimpl::checked(rl, cfimpl::kTypeRunLoop, "CFRunLoopWakeUp");
	std::lock_guard<std::mutex> lock(g_mutex);
	rl->m_woken = true;
	rl->m_wake.notify_all();
}

void CFRunLoopAddTimer(CFRunLoopRef rl, CFRunLoopTimerRef timer, CFRunLoopMode mode)
{
	cfimpl::checked(rl, cfimpl::kTypeRunLoop, "CFRunLoopAddTimer");
	cfimpl::checked(timer, cfimpl::kTypeRunLoopTimer, "CFRunLoopAddTimer");
	const std::string name = modeName(mode);
	std::lock_guard<std::mutex> lock(g_mutex);
	if (!timer->m_valid)
		return;
	for (auto& e : rl->m_timers)
		if (e.timer == timer)
		{
			e.modes.insert(name);
			return;
		}
	CFRetain(timer);
	rl->m_timers.push_back({timer, {name}});
	timer->m_loops.push_back(rl);
	rl->m_wake.notify_all();
}

void CFRunLoopRemoveTimer(CFRunLoopRef rl, CFRunLoopTimerRef timer, CFRunLoopMode mode)
{
	const std::string name = modeName(mode);
	std::vector<CFRunLoopTimerRef> toRelease;
	{
		std::lock_guard<std::mutex> lock(g_mutex);
		for (auto& e : rl->m_timers)
			if (e.timer == timer)
			{
				e.modes.erase(name);
				if (e.modes.empty())
					removeFromLoopLocked(rl, timer, toRelease);
				break;
			}
	}
	releaseAll(toRelease);
}

Boolean CFRunLoopContainsTimer(CFRunLoopRef rl, CFRunLoopTimerRef timer, CFRunLoopMode mode)
{
	const std::string name = modeName(mode);
	std::lock_guard<std::mutex> lock(g_mutex);
	for (auto& e : rl->m_timers)
		if (e.timer == timer)
			return rl->matches(e, name);
	return false;
}

CFRunLoopTimerRef CFRunLoopTimerCreate(CFAllocatorRef, CFAbsoluteTime fireDate, CFTimeInterval interval, CFOptionFlags,
	CFIndex order, CFRunLoopTimerCallBack callout, CFRunLoopTimerContext* context)
{
	auto* timer = new __CFRunLoopTimer;
	timer->m_fireDate = fireDate;
	timer->m_interval = interval > 0 ? interval : 0;
	timer->m_order = order;
	timer->m_callout = callout;
	if (context)
	{
		timer->m_context = *context;
		if (context->retain && context->info)
			timer->m_context.info = const_cast<void*>(context->retain(context->info));
	}
	return cfimpl::track(timer);
}

void CFRunLoopTimerInvalidate(CFRunLoopTimerRef timer)
{
	cfimpl::checked(timer, cfimpl::kTypeRunLoopTimer, "CFRunLoopTimerInvalidate");
	std::vector<CFRunLoopTimerRef> toRelease;
	{
		std::lock_guard<std::mutex> lock(g_mutex);
		timer->m_valid = false;
		for (CFRunLoopRef rl : std::vector<CFRunLoopRef>(timer->m_loops))
			removeFromLoopLocked(rl, timer, toRelease);
	}
	releaseAll(toRelease);
}

Boolean CFRunLoopTimerIsValid(CFRunLoopTimerRef timer)
{
	cfimpl::checked(timer, cfimpl::kTypeRunLoopTimer, "CFRunLoopTimerIsValid");
	std::lock_guard<std::mutex> lock(g_mutex);
	return timer->m_valid;
}

CFAbsoluteTime CFRunLoopTimerGetNextFireDate(CFRunLoopTimerRef timer)
{
	cfimpl::checked(timer, cfimpl::kTypeRunLoopTimer, "CFRunLoopTimerGetNextFireDate");
	std::lock_guard<std::mutex> lock(g_mutex);
	return timer->m_fireDate;
}

void CFRunLoopTimerSetNextFireDate(CFRunLoopTimerRef timer, CFAbsoluteTime fireDate)
{
	cfimpl::checked(timer, cfimpl::kTypeRunLoopTimer, "CFRunLoopTimerSetNextFireDate");
	std::lock_guard<std::mutex> lock(g_mutex);
	timer->m_fireDate = fireDate;
	for (CFRunLoopRef rl : timer->m_loops)
		rl->m_wake.notify_all();
}

CFTimeInterval CFRunLoopTimerGetInterval(CFRunLoopTimerRef timer)
{
	return cfimpl::checkedAs<__CFRunLoopTimer>(timer, cfimpl::kTypeRunLoopTimer, "CFRunLoopTimerGetInterval")->m_interval;
}

Boolean CFRunLoopTimerDoesRepeat(CFRunLoopTimerRef timer)
{
	return CFRunLoopTimerGetInterval(timer) > 0;
}

CFIndex CFRunLoopTimerGetOrder(CFRunLoopTimerRef timer)
{
	return cfimpl::checkedAs<__CFRunLoopTimer>(timer, cfimpl::kTypeRunLoopTimer, "CFRunLoopTimerGetOrder")->m_order;
}

void CFRunLoopTimerGetContext(CFRunLoopTimerRef timer, CFRunLoopTimerContext* context)
{
	auto* t = cfimpl::checkedAs<__CFRunLoopTimer>(timer, cfimpl::kTypeRunLoopTimer, "CFRunLoopTimerGetContext");
	if (context)
		*context = t->m_context;
}
