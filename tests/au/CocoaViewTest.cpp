#include "AuHost.h"

#include <filesystem>
#include <string>

#include "au/GetBundleFromExecutable.h"

using namespace auhost;

namespace
{
class CocoaView : public AuTest
{
};

std::string text(CFStringRef string)
{
	char buffer[4096] = {};
	CFStringGetCString(string, buffer, sizeof(buffer), kCFStringEncodingUTF8);
	return buffer;
}

std::string urlPath(CFURLRef url)
{
	CFStringRef path = CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle);
	std::string result = text(path);
	CFRelease(path);
	return result;
}

OSStatus cocoaViewInfo(AudioUnit unit, AudioUnitCocoaViewInfo& info)
{
	UInt32 size = sizeof(info);
	return AudioUnitGetProperty(unit, kAudioUnitProperty_CocoaUI, kAudioUnitScope_Global, 0, &info, &size);
}
}

TEST_F(CocoaView, PropertyHoldsOneViewClassAndIsReportedWritable)
{
	Instance instance;
	UInt32 size = 0;
	Boolean writable = false;
	ASSERT_EQ(AudioUnitGetPropertyInfo(instance.unit(), kAudioUnitProperty_CocoaUI, kAudioUnitScope_Global, 0, &size,
	                                   &writable),
	          noErr);
	EXPECT_EQ(size, 16u);
	EXPECT_TRUE(writable);
}

TEST_F(CocoaView, ViewClassIsTheInstrumentsOwnInsideItsBundle)
{
	Instance instance;
	AudioUnitCocoaViewInfo info{};
	ASSERT_EQ(cocoaViewInfo(instance.unit(), info), noErr);
	ASSERT_NE(info.mCocoaAUViewBundleLocation, nullptr);
	EXPECT_EQ(std::filesystem::path(urlPath(info.mCocoaAUViewBundleLocation)), std::filesystem::path(VIREL_COMPONENT_BUNDLE));
	EXPECT_EQ(text(info.mCocoaAUViewClass[0]), "VirelCocoaUI");
	CFRelease(info.mCocoaAUViewBundleLocation);
	CFRelease(info.mCocoaAUViewClass[0]);
}

TEST_F(CocoaView, BundleFromTheExecutableInsideIt)
{
	const std::string bundlePath = VIREL_COMPONENT_BUNDLE;
	CFBundleRef bundle = GetBundleFromExecutable((bundlePath + "/Contents/MacOS/Virel").c_str());
	ASSERT_NE(bundle, nullptr);
	CFURLRef url = CFBundleCopyBundleURL(bundle);
	EXPECT_EQ(std::filesystem::path(urlPath(url)), std::filesystem::path(bundlePath));
	CFRelease(url);
	CFRelease(bundle);

	EXPECT_EQ(GetBundleFromExecutable(nullptr), nullptr);
}
