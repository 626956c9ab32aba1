#pragma once

#include "platform/iplatformtimer.h"
#include "vstguifwd.h"

#include <functional>

namespace VSTGUI
{
extern IdStringPtr kMsgTimer;

class CVSTGUITimer final : public CBaseObject, private IPlatformTimerCallback
{
public:
	using CallbackFunc = std::function<void (CVSTGUITimer*)>;

	CVSTGUITimer (const CallbackFunc& callback, uint32_t fireTime = 100, bool doStart = true);
	CVSTGUITimer (CallbackFunc&& callback, uint32_t fireTime = 100, bool doStart = true);
	CVSTGUITimer (CBaseObject* timerObject, uint32_t fireTime = 100, bool doStart = false);
	~CVSTGUITimer () noexcept override;

	virtual bool start ();
	virtual bool stop ();
	virtual bool setFireTime (uint32_t newFireTime);
	uint32_t getFireTime () const { return fireTime; }

private:
	void fire () override;

	uint32_t fireTime;
	CallbackFunc callbackFunc;
	IPlatformTimer* platformTimer {nullptr};
};

namespace Call
{
// Runs the function once, after the given time, on the timer run loop.
void later (const std::function<void ()>& func, uint32_t delayInMilliseconds = 10);
}
} // VSTGUI
