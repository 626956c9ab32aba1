#pragma once

// What this platform's Core Foundation offers beyond the real one: counters that prove objects are neither
// leaked nor freed twice, a clock that tests move by hand, work posted to a run loop from another thread, and
// the seam behind the user-notification dialogs. C++ only; nothing of the instrument includes it.

#include <CoreFoundation/CoreFoundation.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace cf
{
// Objects made by a Create or Copy function and not yet released to zero. Constant strings and the two
// booleans are not counted.
long liveObjectCount();
// Blocks handed out by CFAllocatorAllocate and not yet deallocated.
long liveAllocationCount();

// While one exists, CFAbsoluteTimeGetCurrent reads this clock instead of the system's, and a run loop that
// would wait lets simulated time pass instead: CFRunLoopRunInMode(mode, 0.2, false) fires a 50 ms timer four
// times and returns at once with the clock 0.2 s later. Only one may exist at a time.
class ManualClock
{
public:
	explicit ManualClock(CFAbsoluteTime start = 800000000.0);
	~ManualClock();
	ManualClock(const ManualClock&) = delete;
	ManualClock& operator=(const ManualClock&) = delete;

	CFAbsoluteTime now() const;
	// Moves time on without firing anything; timers that became due fire the next time their loop runs.
	void advance(CFTimeInterval seconds);
};

// Queues work for the loop's thread; it runs inside the next CFRunLoopRunInMode of that loop, whatever the mode,
// in the order posted. Safe from any thread; wakes a loop that is waiting.
void performOnRunLoop(CFRunLoopRef runLoop, std::function<void()> work);
// Pending posted work of a loop (not yet run).
size_t pendingWorkCount(CFRunLoopRef runLoop);

// One request to show a dialog, as the seam receives it.
struct UserNotification
{
	enum class Kind
	{
		Notice,
		Alert
	};
	Kind kind = Kind::Notice;
	CFTimeInterval timeout = 0;
	CFOptionFlags flags = 0;
	std::string header;
	std::string message;
	std::string defaultButton;
	std::string alternateButton;
	std::string otherButton;
};

class UserNotificationResponder
{
public:
	virtual ~UserNotificationResponder() = default;
	// Shows the request; for an alert, stores the answer (kCFUserNotification*Response) in *response.
	virtual SInt32 display(const UserNotification& request, CFOptionFlags* response) = 0;
};

// Installs the responder for the whole process and returns the previous one; null restores the one for people:
// a zenity dialog on a desktop (DISPLAY set, zenity on the path), else the terminal, which prints the request and,
// for an alert, reads the answer (cancel when there is no terminal).
UserNotificationResponder* setUserNotificationResponder(UserNotificationResponder* responder);

// Answers queued in advance, every request recorded. Installs itself while it lives. An alert with no queued
// answer is answered as a timeout would be: cancel.
class ScriptedUserNotifications : public UserNotificationResponder
{
public:
	ScriptedUserNotifications();
	~ScriptedUserNotifications() override;

	void queueResponse(CFOptionFlags response);
	const std::vector<UserNotification>& shown() const { return m_shown; }
	SInt32 display(const UserNotification& request, CFOptionFlags* response) override;

private:
	UserNotificationResponder* m_previous = nullptr;
	std::deque<CFOptionFlags> m_responses;
	std::vector<UserNotification> m_shown;
};
}
