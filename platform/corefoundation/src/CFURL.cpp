#include "CFObject.h"

#include <filesystem>

struct __CFURL : cfimpl::Object
{
	__CFURL(std::string path, bool isDirectory) : Object(cfimpl::kTypeURL, nullptr), m_path(std::move(path)), m_directory(isDirectory) {}
	std::string describe() const override { return "file://" + m_path; }
	bool equals(const Object& other) const override { return m_path == static_cast<const __CFURL&>(other).m_path; }
	CFHashCode hash() const override { return std::hash<std::string>()(m_path); }
	std::string m_path; // absolute; directories end with a slash
	bool m_directory;
	CFStringRef m_string = nullptr;
	~__CFURL() override
	{
		if (m_string)
			CFRelease(m_string);
	}
};

namespace
{
__CFURL* url(CFTypeRef u, const char* function)
{
	return cfimpl::checkedAs<__CFURL>(u, cfimpl::kTypeURL, function);
}

CFURLRef makeURL(std::string path, bool isDirectory)
{
	if (path.empty())
		return nullptr;
	std::filesystem::path p(path);
	if (p.is_relative())
		p = std::filesystem::current_path() / p;
	std::string s = p.lexically_normal().string();
	while (s.size() > 1 && s.back() == '/')
		s.pop_back();
	if (isDirectory && s != "/")
		s += '/';
	return cfimpl::track(new __CFURL(s, isDirectory));
}
}

CFTypeID CFURLGetTypeID(void)
{
	return cfimpl::kTypeURL;
}

CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef, CFStringRef filePath, CFURLPathStyle pathStyle, Boolean isDirectory)
{
	if (pathStyle != kCFURLPOSIXPathStyle)
		return nullptr;
	return makeURL(cfimpl::stringOf(filePath), isDirectory);
}

CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef, const UInt8* buffer, CFIndex bufLen, Boolean isDirectory)
{
	if (!buffer || bufLen <= 0)
		return nullptr;
	return makeURL(std::string(reinterpret_cast<const char*>(buffer), static_cast<size_t>(bufLen)), isDirectory);
}

CFStringRef CFURLCopyFileSystemPath(CFURLRef anURL, CFURLPathStyle)
{
	std::string p = url(anURL, "CFURLCopyFileSystemPath")->m_path;
	if (p.size() > 1 && p.back() == '/')
		p.pop_back();
	return cfimpl::makeString(p);
}

Boolean CFURLGetFileSystemRepresentation(CFURLRef u, Boolean, UInt8* buffer, CFIndex maxBufLen)
{
	std::string p = url(u, "CFURLGetFileSystemRepresentation")->m_path;
	if (p.size() > 1 && p.back() == '/')
		p.pop_back();
	if (!buffer || static_cast<CFIndex>(p.size()) + 1 > maxBufLen)
		return false;
	std::copy(p.begin(), p.end(), buffer);
	buffer[p.size()] = 0;
	return true;
}

Boolean CFURLHasDirectoryPath(CFURLRef anURL)
{
	return url(anURL, "CFURLHasDirectoryPath")->m_directory;
}

CFStringRef CFURLGetString(CFURLRef anURL)
{
	__CFURL* u = url(anURL, "CFURLGetString");
	if (!u->m_string)
		u->m_string = cfimpl::makeString(u->describe());
	return u->m_string;
}
