#include "AuHost.h"

#include <objc/ClassRegistration.h>

#include <filesystem>
#include <optional>
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

// The class record must live in the image's own memory for the runtime to tell which image defines it.
std::optional<ClassRegistration> s_viewFactory;

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

TEST_F(CocoaView, WithoutAViewClassThereIsNoView)
{
	Instance instance;
	AudioUnitCocoaViewInfo info{};
	EXPECT_EQ(cocoaViewInfo(instance.unit(), info), kAudioUnitErr_InvalidProperty);
	EXPECT_EQ(info.mCocoaAUViewBundleLocation, nullptr);
}

TEST_F(CocoaView, ViewClassIsNamedWithTheBundleAroundItsImage)
{
	// A class of that name registered from this test program stands for the view factory: its image is
	// the test executable, so the "bundle" is the folder three levels above it.
	s_viewFactory.emplace("VirelCocoaUI", nullptr, [] { return id(nullptr); });
	const char* imageName = class_getImageName(s_viewFactory->get());
	ASSERT_NE(imageName, nullptr);
	const std::filesystem::path image = imageName;
	const std::filesystem::path expected = image.parent_path().parent_path().parent_path();

	Instance instance;
	AudioUnitCocoaViewInfo info{};
	ASSERT_EQ(cocoaViewInfo(instance.unit(), info), noErr);
	ASSERT_NE(info.mCocoaAUViewBundleLocation, nullptr);
	EXPECT_EQ(std::filesystem::path(urlPath(info.mCocoaAUViewBundleLocation)).lexically_normal(),
	          std::filesystem::absolute(expected).lexically_normal());
	EXPECT_EQ(text(info.mCocoaAUViewClass[0]), "VirelCocoaUI");
	CFRelease(info.mCocoaAUViewBundleLocation);
	CFRelease(info.mCocoaAUViewClass[0]);
	s_viewFactory.reset();
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
