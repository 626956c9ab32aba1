#include "CFObject.h"

#include <filesystem>
#include <fstream>
#include <iterator>

struct __CFBundle : cfimpl::Object
{
	explicit __CFBundle(std::filesystem::path path) : Object(cfimpl::kTypeBundle, nullptr), m_path(std::move(path)) {}
	~__CFBundle() override
	{
		if (m_info)
			CFRelease(m_info);
	}
	std::string describe() const override { return "CFBundle <" + m_path.string() + ">"; }
	std::filesystem::path m_path;
	CFDictionaryRef m_info = nullptr;
};

namespace
{
__CFBundle* bundle(CFTypeRef b, const char* function)
{
	return cfimpl::checkedAs<__CFBundle>(b, cfimpl::kTypeBundle, function);
}

CFDictionaryRef loadInfo(const std::filesystem::path& bundlePath)
{
	std::ifstream in(bundlePath / "Contents" / "Info.plist", std::ios::binary);
	if (in)
	{
		std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
		CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes.data()), CFIndex(bytes.size()));
		CFPropertyListRef plist = CFPropertyListCreateWithData(nullptr, data, 0, nullptr, nullptr);
		CFRelease(data);
		if (plist && CFGetTypeID(plist) == CFDictionaryGetTypeID())
			return static_cast<CFDictionaryRef>(plist);
		if (plist)
			CFRelease(plist);
	}
	return CFDictionaryCreate(nullptr, nullptr, nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
}
}

CFTypeID CFBundleGetTypeID(void)
{
	return cfimpl::kTypeBundle;
}

CFBundleRef CFBundleCreate(CFAllocatorRef, CFURLRef bundleURL)
{
	UInt8 path[4096];
	if (!CFURLGetFileSystemRepresentation(bundleURL, true, path, sizeof path))
		return nullptr;
	std::error_code ec;
	std::filesystem::path p(reinterpret_cast<const char*>(path));
	if (!std::filesystem::is_directory(p, ec))
		return nullptr;
	return cfimpl::track(new __CFBundle(p));
}

CFURLRef CFBundleCopyBundleURL(CFBundleRef b)
{
	std::string p = bundle(b, "CFBundleCopyBundleURL")->m_path.string();
	return CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(p.data()), CFIndex(p.size()), true);
}

CFDictionaryRef CFBundleGetInfoDictionary(CFBundleRef b)
{
	__CFBundle* bundleObject = bundle(b, "CFBundleGetInfoDictionary");
	if (!bundleObject->m_info)
		bundleObject->m_info = loadInfo(bundleObject->m_path);
	return bundleObject->m_info;
}

CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef b, CFStringRef key)
{
	return CFDictionaryGetValue(CFBundleGetInfoDictionary(b), key);
}

CFStringRef CFBundleGetIdentifier(CFBundleRef b)
{
	CFTypeRef id = CFBundleGetValueForInfoDictionaryKey(b, CFSTR("CFBundleIdentifier"));
	return id && CFGetTypeID(id) == CFStringGetTypeID() ? static_cast<CFStringRef>(id) : nullptr;
}

CFURLRef CFBundleCopyExecutableURL(CFBundleRef b)
{
	__CFBundle* bundleObject = bundle(b, "CFBundleCopyExecutableURL");
	std::string name = bundleObject->m_path.stem().string();
	CFTypeRef executable = CFBundleGetValueForInfoDictionaryKey(b, CFSTR("CFBundleExecutable"));
	if (executable && CFGetTypeID(executable) == CFStringGetTypeID())
		name = cfimpl::stringOf(static_cast<CFStringRef>(executable));
	std::filesystem::path p = bundleObject->m_path / "Contents" / "MacOS" / name;
	std::error_code ec;
	if (!std::filesystem::is_regular_file(p, ec))
		return nullptr;
	std::string s = p.string();
	return CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(s.data()), CFIndex(s.size()), false);
}
