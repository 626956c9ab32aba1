#pragma once

#include <Foundation/NSObject.h>

#include <functional>
#include <string>

// Notifications by name and sending object, delivered at once on the posting thread, to observers given as
// blocks (addObserverForName:object:queue:usingBlock: with no queue).
struct NSNotification
{
	std::string name;
	id object = nil;
};

class COCOA_EXPORT NSNotificationCenter
{
public:
	using Block = std::function<void(const NSNotification&)>;

	static NSNotificationCenter* defaultCenter();
	// A null object observes every sender. The token removes the observer.
	id addObserverForName(const char* name, id object, Block block);
	void removeObserver(id token);
	void postNotificationName(const char* name, id object);
};
