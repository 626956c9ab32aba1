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

// A dialog program (the desktop's zenity) keeps the thread that asked waiting for its answer, as a modal panel
// does. The thread's windows stay alive meanwhile through its DialogHost, installed by whatever shows windows
// on that thread: it names the window a dialog belongs to, which the dialog then stays above, and it is called
// while the dialog is open to draw what got uncovered and to keep the input meant for its windows from them.
class DialogHost
{
public:
	virtual ~DialogHost() = default;
	// The X window a dialog asked for now stays above; 0 for none.
	virtual unsigned long dialogParentWindow() = 0;
	// Called every few milliseconds while a dialog the thread waits for is open.
	virtual void whileDialogOpen() = 0;
};
// Installs the host of the calling thread (null: none) and returns the one it replaces.
DialogHost* setDialogHost(DialogHost* host);
// The calling thread's window for dialogs; 0 when it has none.
unsigned long dialogParentWindow();

// Runs the program (looked up on the PATH, no shell in between) with `environment` ("NAME=value") added to its
// own, and waits for it while the thread's DialogHost keeps its windows alive. Returns the exit status, or -1
// when the program could not start or did not exit by itself; *output receives what it printed.
int runDialogProgram(const std::vector<std::string>& args, const std::vector<std::string>& environment,
	std::string* output);
// Starts the program on its own and returns at once: nobody waits for its answer. False when it cannot start.
bool startDialogProgram(const std::vector<std::string>& args);
// Whether the program is on the PATH.
bool programOnPath(const std::string& program);

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
