#include "PluginBundle.h"

#include "HostError.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>

namespace
{
std::string text(CFTypeRef value)
{
	if (!value || CFGetTypeID(value) != CFStringGetTypeID())
		return {};
	char buffer[1024];
	return CFStringGetCString(static_cast<CFStringRef>(value), buffer, sizeof buffer, kCFStringEncodingUTF8) ? buffer : "";
}

bool fourChar(CFTypeRef value, OSType& out)
{
	const std::string s = text(value);
	if (s.size() != 4)
		return false;
	out = (OSType(UInt8(s[0])) << 24) | (OSType(UInt8(s[1])) << 16) | (OSType(UInt8(s[2])) << 8) | OSType(UInt8(s[3]));
	return true;
}

template <class T> struct Released
{
	T ref;
	~Released()
	{
		if (ref)
			CFRelease(ref);
	}
};
}

std::string fourCharText(OSType code)
{
	std::string s;
	for (int shift = 24; shift >= 0; shift -= 8)
	{
		const char c = char((code >> shift) & 0xFF);
		s += (c >= 0x20 && c < 0x7F) ? c : '?';
	}
	return s;
}

std::string PluginBundle::defaultPath()
{
	std::error_code ec;
	const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
	return (self.parent_path() / "Virel.component").string();
}

PluginBundle::PluginBundle(const std::string& path) : m_path(path)
{
	std::error_code ec;
	if (!std::filesystem::is_directory(path, ec))
		throw HostError("no plug-in bundle at '" + path + "'");
	Released<CFStringRef> cfPath{CFStringCreateWithCString(nullptr, path.c_str(), kCFStringEncodingUTF8)};
	if (!cfPath.ref)
		throw HostError("the bundle path '" + path + "' is not valid UTF-8");
	Released<CFURLRef> url{CFURLCreateWithFileSystemPath(nullptr, cfPath.ref, kCFURLPOSIXPathStyle, true)};
	Released<CFBundleRef> bundle{CFBundleCreate(nullptr, url.ref)};
	if (!bundle.ref)
		throw HostError("no plug-in bundle at '" + path + "'");

	auto components = static_cast<CFArrayRef>(CFBundleGetValueForInfoDictionaryKey(bundle.ref, CFSTR("AudioComponents")));
	if (!components || CFGetTypeID(components) != CFArrayGetTypeID() || CFArrayGetCount(components) < 1 ||
		CFGetTypeID(CFArrayGetValueAtIndex(components, 0)) != CFDictionaryGetTypeID())
		throw HostError("the bundle '" + path + "' describes no audio component in Contents/Info.plist");
	auto entry = static_cast<CFDictionaryRef>(CFArrayGetValueAtIndex(components, 0));
	if (!fourChar(CFDictionaryGetValue(entry, CFSTR("type")), m_description.componentType) ||
		!fourChar(CFDictionaryGetValue(entry, CFSTR("subtype")), m_description.componentSubType) ||
		!fourChar(CFDictionaryGetValue(entry, CFSTR("manufacturer")), m_description.componentManufacturer))
		throw HostError("the audio component of '" + path + "' lacks a four-character type, subtype or manufacturer");
	m_name = text(CFDictionaryGetValue(entry, CFSTR("name")));
	const std::string factory = text(CFDictionaryGetValue(entry, CFSTR("factoryFunction")));
	if (!factory.empty())
		m_factoryName = factory;
	auto version = static_cast<CFNumberRef>(CFDictionaryGetValue(entry, CFSTR("version")));
	if (version && CFGetTypeID(version) == CFNumberGetTypeID())
	{
		SInt64 v = 0;
		CFNumberGetValue(version, kCFNumberSInt64Type, &v);
		m_version = UInt32(v);
	}

	Released<CFURLRef> executable{CFBundleCopyExecutableURL(bundle.ref)};
	UInt8 exePath[4096];
	if (!executable.ref || !CFURLGetFileSystemRepresentation(executable.ref, true, exePath, sizeof exePath))
		throw HostError("the bundle '" + path + "' has no executable in Contents/MacOS");
	m_library = dlopen(reinterpret_cast<const char*>(exePath), RTLD_NOW | RTLD_LOCAL);
	if (!m_library)
		throw HostError("cannot load the plug-in '" + path + "': " + dlerror());
	void* symbol = dlsym(m_library, m_factoryName.c_str());
	if (!symbol)
	{
		dlclose(m_library);
		m_library = nullptr;
		throw HostError("the plug-in '" + path + "' has no entry point '" + m_factoryName + "'");
	}
	Released<CFStringRef> name{CFStringCreateWithCString(nullptr, m_name.c_str(), kCFStringEncodingUTF8)};
	m_component = AudioComponentRegister(&m_description, name.ref, m_version,
		reinterpret_cast<AudioComponentFactoryFunction>(symbol));
}

PluginBundle::~PluginBundle()
{
	if (m_library)
		dlclose(m_library);
}
