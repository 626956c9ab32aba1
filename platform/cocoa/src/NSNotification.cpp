#include <Foundation/NSNotification.h>

#include <mutex>
#include <vector>

namespace
{
struct Observer : NSObject
{
	std::string name;
	id object = nil;
	NSNotificationCenter::Block block;
};

std::mutex g_mutex;
std::vector<Observer*> g_observers;
}

NSNotificationCenter* NSNotificationCenter::defaultCenter()
{
	static NSNotificationCenter center;
	return &center;
}

id NSNotificationCenter::addObserverForName(const char* name, id object, Block block)
{
	auto* observer = NSObject::alloc<Observer>();
	observer->name = name ? name : "";
	observer->object = object;
	observer->block = std::move(block);
	std::lock_guard<std::mutex> lock(g_mutex);
	g_observers.push_back(observer);
	return observer;
}

void NSNotificationCenter::removeObserver(id token)
{
	Observer* removed = nullptr;
	{
		std::lock_guard<std::mutex> lock(g_mutex);
		for (auto it = g_observers.begin(); it != g_observers.end(); ++it)
			if (*it == token)
			{
				removed = *it;
				g_observers.erase(it);
				break;
			}
	}
	if (removed)
		removed->release();
}

void NSNotificationCenter::postNotificationName(const char* name, id object)
{
	// Observers are called outside the lock, each kept alive while it runs, so that a block may add or remove
	// observers.
	std::vector<Observer*> matching;
	{
		std::lock_guard<std::mutex> lock(g_mutex);
		for (Observer* o : g_observers)
			if (o->name == name && (!o->object || o->object == object))
			{
				o->retain();
				matching.push_back(o);
			}
	}
	const NSNotification notification{name, object};
	for (Observer* o : matching)
	{
		o->block(notification);
		o->release();
	}
}
