#include "GetBundleFromExecutable.h"

#include <string>

namespace
{
// Drops the last path component the way a path string does: trailing slashes first, then the name.
std::string deletingLastPathComponent(std::string path)
{
	while (path.size() > 1 && path.back() == '/')
		path.pop_back();
	const size_t slash = path.rfind('/');
	if (slash == std::string::npos)
		return "";
	return slash == 0 ? "/" : path.substr(0, slash);
}
}

CFBundleRef GetBundleFromExecutable(const char* executablePath)
{
	if (!executablePath)
		return nullptr;
	std::string path = executablePath;
	for (int i = 0; i < 3; ++i)
		path = deletingLastPathComponent(path);

	CFURLRef url = CFURLCreateFromFileSystemRepresentation(kCFAllocatorDefault,
		reinterpret_cast<const UInt8*>(path.c_str()), static_cast<CFIndex>(path.size()), true);
	if (!url)
		return nullptr;
	CFBundleRef bundle = CFBundleCreate(kCFAllocatorDefault, url);
	CFRelease(url);
	return bundle;
}
