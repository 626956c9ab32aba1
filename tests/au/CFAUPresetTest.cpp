#include "AuHost.h"

#include "au/CFAUPreset.h"

using namespace auhost;

namespace
{
class PresetRecord : public AuTest
{
};
}

TEST_F(PresetRecord, NameReferencesFollowTheRecordsAndAllIsFreedAtTheEnd)
{
	CFStringRef name = CFStringCreateWithCString(nullptr, "Warm Pad", kCFStringEncodingUTF8);
	CFAUPresetRef preset = CFAUPresetCreate(kCFAllocatorDefault, 3, name);
	CFRelease(name);
	ASSERT_NE(preset, nullptr);
	EXPECT_EQ(preset->presetNumber, 3);
	EXPECT_EQ(preset->retainCount, 1);
	EXPECT_EQ(toString(reinterpret_cast<const AUPreset*>(preset)->presetName), "Warm Pad");

	CFMutableArrayRef array = CFArrayCreateMutable(nullptr, 0, &kCFAUPresetArrayCallBacks);
	CFArrayAppendValue(array, preset);
	CFArrayAppendValue(array, preset);
	EXPECT_EQ(preset->retainCount, 3);
	CFAUPresetRelease(const_cast<CFAUPreset*>(preset));
	EXPECT_EQ(preset->retainCount, 2);
	EXPECT_EQ(CFAUPresetRetain(nullptr), nullptr);
	CFAUPresetRelease(nullptr);

	CFStringRef description = CFAUPresetArrayCopyDescriptionCallBack(preset);
	EXPECT_EQ(toString(description), "AUPreset:\npreset number = 3\npreset name = Warm Pad");
	CFRelease(description);
	CFRelease(array); // the array's releases free the record and the last reference to its name
}

TEST_F(PresetRecord, EqualityByNumberAndNameAndTheCallbackRecord)
{
	CFStringRef a = CFStringCreateWithCString(nullptr, "Bell", kCFStringEncodingUTF8);
	CFStringRef b = CFStringCreateWithCString(nullptr, "Bell", kCFStringEncodingUTF8);
	CFStringRef c = CFStringCreateWithCString(nullptr, "bell", kCFStringEncodingUTF8);
	CFAUPresetRef presets[] = {CFAUPresetCreate(nullptr, 1, a), CFAUPresetCreate(nullptr, 1, b),
		CFAUPresetCreate(nullptr, 1, c), CFAUPresetCreate(nullptr, 2, a), CFAUPresetCreate(nullptr, 1, nullptr),
		CFAUPresetCreate(nullptr, 1, nullptr)};
	EXPECT_TRUE(CFAUPresetArrayEqualCallBack(presets[0], presets[1]));
	EXPECT_FALSE(CFAUPresetArrayEqualCallBack(presets[0], presets[2])) << "names compare case-sensitively";
	EXPECT_FALSE(CFAUPresetArrayEqualCallBack(presets[0], presets[3]));
	EXPECT_FALSE(CFAUPresetArrayEqualCallBack(presets[0], presets[4])) << "a record without a name";
	EXPECT_TRUE(CFAUPresetArrayEqualCallBack(presets[4], presets[5]));

	CFArrayCallBacks callbacks{};
	CFAUPresetArrayCallBacks_Init(&callbacks);
	CFAUPresetArrayCallBacks_Init(nullptr);
	EXPECT_EQ(callbacks.version, 0);
	EXPECT_EQ(callbacks.retain, kCFAUPresetArrayCallBacks.retain);
	EXPECT_EQ(callbacks.release, kCFAUPresetArrayCallBacks.release);
	EXPECT_EQ(callbacks.copyDescription, kCFAUPresetArrayCallBacks.copyDescription);
	EXPECT_EQ(callbacks.equal, kCFAUPresetArrayCallBacks.equal);

	for (CFAUPresetRef preset : presets)
		CFAUPresetRelease(const_cast<CFAUPreset*>(preset));
	CFRelease(a);
	CFRelease(b);
	CFRelease(c);
}
