#pragma once

#include "../vstguibase.h"

#include <cstdint>

namespace VSTGUI
{
class IPlatformTimerCallback
{
public:
	virtual ~IPlatformTimerCallback () noexcept = default;
	virtual void fire () = 0;
};

class IPlatformTimer : public AtomicReferenceCounted
{
public:
	// Fires periodically, first one interval after start.
	virtual bool start (uint32_t fireTimeInMs) = 0;
	virtual bool stop () = 0;
};

// Where timers run: the program's run loop. Installed once at start; the built-in one is a
// clock that only moves when told to (see TimerRunLoop).
class ITimerHost
{
public:
	virtual ~ITimerHost () noexcept = default;
	virtual IPlatformTimer* createTimer (IPlatformTimerCallback* callback) = 0;
};

void setTimerHost (ITimerHost* host);
ITimerHost* getTimerHost ();
} // VSTGUI
