#include "HostedView.h"

#include "HostError.h"

#include <AudioUnit/AUCocoaUIView.h>
#include <objc/runtime.h>

#include <filesystem>
#include <system_error>

namespace
{
std::string text(CFStringRef string)
{
	char buffer[1024] = {};
	return string && CFStringGetCString(string, buffer, sizeof buffer, kCFStringEncodingUTF8) ? buffer : "";
}

std::string path(CFURLRef url)
{
	CFStringRef p = CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle);
	std::string result = text(p);
	CFRelease(p);
	return result;
}

bool sameFile(const std::string& a, const std::string& b)
{
	std::error_code error;
	return std::filesystem::equivalent(a, b, error);
}

// The class of that name, as defined by the executable of the bundle at url.
Class classFromBundle(CFURLRef url, const std::string& className)
{
	CFBundleRef bundle = CFBundleCreate(kCFAllocatorDefault, url);
	if (!bundle)
		throw HostError("the unit's view bundle '" + path(url) + "' cannot be opened");
	CFURLRef executable = CFBundleCopyExecutableURL(bundle);
	const std::string executablePath = executable ? path(executable) : "";
	if (executable)
		CFRelease(executable);
	CFRelease(bundle);

	Class cls = objc_getClass(className.c_str());
	const char* image = cls ? class_getImageName(cls) : nullptr;
	if (!image || executablePath.empty() || !sameFile(image, executablePath))
		throw HostError("the unit's view bundle '" + path(url) + "' defines no class '" + className + "'");
	return cls;
}
}

HostedView::HostedView(AudioUnit unit, NSSize preferredSize)
{
	AudioUnitCocoaViewInfo info{};
	UInt32 size = sizeof(info);
	if (AudioUnitGetProperty(unit, kAudioUnitProperty_CocoaUI, kAudioUnitScope_Global, 0, &info, &size) != noErr ||
		!info.mCocoaAUViewBundleLocation || !info.mCocoaAUViewClass[0])
		throw HostError("the unit offers no Cocoa view");
	const std::string className = text(info.mCocoaAUViewClass[0]);
	Class cls = Nil;
	try
	{
		cls = classFromBundle(info.mCocoaAUViewBundleLocation, className);
	}
	catch (...)
	{
		CFRelease(info.mCocoaAUViewBundleLocation);
		CFRelease(info.mCocoaAUViewClass[0]);
		throw;
	}
	CFRelease(info.mCocoaAUViewBundleLocation);
	CFRelease(info.mCocoaAUViewClass[0]);

	NSObject* object = cls->create ? asNSObject(cls->create()) : nullptr;
	if (!object || !object->conformsToProtocol(AUCocoaUIBase::kProtocolName))
	{
		if (object)
			object->release();
		throw HostError("the view class '" + className + "' is no Audio Unit view factory");
	}
	auto* factory = static_cast<AUCocoaUIBase*>(object);
	m_description = text(factory->description());
	{
		NSAutoreleasePool pool;
		m_view = factory->uiViewForAudioUnit(unit, preferredSize);
		if (m_view)
			m_view->retain();
	}
	factory->release();
	if (!m_view)
		throw HostError("the view factory '" + className + "' made no view for the unit");
}

HostedView::~HostedView()
{
	NSAutoreleasePool pool;
	m_view->release();
}
