#include <objc/runtime.h>

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <string>

namespace
{
struct Registry
{
	std::mutex mutex;
	std::map<std::string, Class> classes;
	std::map<Class, std::string> imageNames;
};

Registry& registry()
{
	static Registry* r = new Registry; // images may unregister during static teardown
	return *r;
}
}

extern "C" {

void objc_registerClassPair(Class cls)
{
	if (!cls || !cls->name)
		return;
	Registry& r = registry();
	std::lock_guard<std::mutex> lock(r.mutex);
	r.classes[cls->name] = cls; // a later image's class of the same name replaces the earlier one
}

void objc_disposeClassPair(Class cls)
{
	if (!cls || !cls->name)
		return;
	Registry& r = registry();
	std::lock_guard<std::mutex> lock(r.mutex);
	auto it = r.classes.find(cls->name);
	if (it != r.classes.end() && it->second == cls)
		r.classes.erase(it);
	r.imageNames.erase(cls);
}

Class objc_getClass(const char* name)
{
	if (!name)
		return Nil;
	Registry& r = registry();
	std::lock_guard<std::mutex> lock(r.mutex);
	auto it = r.classes.find(name);
	return it == r.classes.end() ? Nil : it->second;
}

const char* class_getName(Class cls)
{
	return cls ? cls->name : "nil";
}

const char* class_getImageName(Class cls)
{
	if (!cls)
		return nullptr;
	Registry& r = registry();
	std::lock_guard<std::mutex> lock(r.mutex);
	auto known = r.imageNames.find(cls);
	if (known != r.imageNames.end())
		return known->second.c_str();
	Dl_info info{};
	if (!dladdr(cls, &info) || !info.dli_fname)
		return nullptr;
	// Kept so the returned pointer stays valid while the class is registered.
	return r.imageNames.emplace(cls, info.dli_fname).first->second.c_str();
}

Class class_getSuperclass(Class cls)
{
	return cls ? cls->super_class : Nil;
}

int class_isSubclassOf(Class cls, Class sup)
{
	for (; cls; cls = cls->super_class)
		if (cls == sup)
			return 1;
	return 0;
}
}
