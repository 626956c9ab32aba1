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

// Where timers run. Without one installed they run on the Core Foundation run loop of the
// thread that starts them, which the host drives (and tests drive with a manual clock).
class ITimerHost
{
public:
	virtual ~ITimerHost () noexcept = default;
	virtual IPlatformTimer* createTimer (IPlatformTimerCallback* callback) = 0;
};

void setTimerHost (ITimerHost* host);
ITimerHost* getTimerHost ();
} // VSTGUI
