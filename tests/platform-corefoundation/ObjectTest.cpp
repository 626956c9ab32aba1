#include <CoreFoundation/CFStandIn.h>
#include <CoreFoundation/CoreFoundation.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>
#include <fstream>
#include <string>
#include <thread>

#if defined(__SANITIZE_THREAD__)
#define UNDER_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define UNDER_THREAD_SANITIZER 1
#endif
#endif

namespace
{
std::string text(CFStringRef s)
{
	char buffer[1024];
	EXPECT_TRUE(CFStringGetCString(s, buffer, sizeof buffer, kCFStringEncodingUTF8));
	return buffer;
}

// Releases what a test created and checks at the end that nothing leaked.
class ObjectTest : public ::testing::Test
{
protected:
	void TearDown() override
	{
		EXPECT_EQ(cf::liveObjectCount(), m_objects);
		EXPECT_EQ(cf::liveAllocationCount(), m_blocks);
	}
	long m_objects = cf::liveObjectCount();
	long m_blocks = cf::liveAllocationCount();
};

struct Counted
{
	int retains = 0;
	int releases = 0;
	CFAllocatorRef allocatorSeen = reinterpret_cast<CFAllocatorRef>(1);
};
Counted g_counted;

const void* countRetain(CFAllocatorRef allocator, const void* value)
{
	++g_counted.retains;
	g_counted.allocatorSeen = allocator;
	return value;
}
void countRelease(CFAllocatorRef, const void*)
{
	++g_counted.releases;
}
CFStringRef describeInt(const void* value)
{
	return CFStringCreateWithFormat(nullptr, nullptr, CFSTR("item %d"), *static_cast<const int*>(value));
}
}

TEST_F(ObjectTest, RetainAndReleaseCountAndTheLastReleaseFrees)
{
	CFStringRef s = CFStringCreateWithCString(nullptr, "abc", kCFStringEncodingUTF8);
	EXPECT_EQ(cf::liveObjectCount(), m_objects + 1);
	EXPECT_EQ(CFRetain(s), s);
	EXPECT_EQ(CFGetRetainCount(s), 2);
	CFRelease(s);
	EXPECT_EQ(cf::liveObjectCount(), m_objects + 1);
	CFRelease(s);
	EXPECT_EQ(cf::liveObjectCount(), m_objects);
	// Constant strings are never freed and never counted.
	CFStringRef constant = CFSTR("constant");
	EXPECT_EQ(constant, CFSTR("constant"));
	CFRelease(constant);
	CFRelease(constant);
	EXPECT_EQ(text(CFSTR("constant")), "constant");
}

TEST_F(ObjectTest, MisuseThatRealCoreFoundationCrashesOnStopsTheProgram)
{
	GTEST_FLAG_SET(death_test_style, "threadsafe");
	EXPECT_DEATH(CFRelease(nullptr), "CFRelease called with NULL");
	EXPECT_DEATH(CFRetain(nullptr), "CFRetain called with NULL");
	EXPECT_DEATH(
		{
			CFDataRef d = CFDataCreate(nullptr, nullptr, 0);
			CFRelease(d);
			CFRelease(d);
		},
		"not a live object");
	EXPECT_DEATH(CFDataGetLength(reinterpret_cast<CFDataRef>(CFSTR("x"))), "CFString instead of a CFData");
	EXPECT_DEATH(
		{
			CFMutableArrayRef a = CFArrayCreateMutable(nullptr, 1, &kCFTypeArrayCallBacks);
			CFArrayAppendValue(a, CFSTR("a"));
			CFArrayAppendValue(a, CFSTR("b"));
		},
		"beyond the capacity");
}

// On a Mac two threads that meet only in Core Foundation calls are not ordered by them; the registry of live
// objects must not order them here either, or ThreadSanitizer would miss their race.
TEST_F(ObjectTest, CallsDoNotOrderTheThreadsThatMakeThem)
{
#ifndef UNDER_THREAD_SANITIZER
	GTEST_SKIP() << "only ThreadSanitizer sees the order";
#endif
	GTEST_FLAG_SET(death_test_style, "threadsafe");
	auto race = [] {
		int shared = 0;
		std::atomic<bool> written{false}; // relaxed: it orders nothing
		std::thread writer([&] {
			shared = 1;
			CFRelease(CFStringCreateWithCString(nullptr, "w", kCFStringEncodingUTF8));
			written.store(true, std::memory_order_relaxed);
		});
		while (!written.load(std::memory_order_relaxed))
			std::this_thread::yield();
		CFRelease(CFStringCreateWithCString(nullptr, "r", kCFStringEncodingUTF8));
		volatile int seen = shared;
		writer.join();
		std::exit(seen - 1); // unreported, the child ends well, which the death test counts as a failure
	};
	EXPECT_DEATH(race(), "data race");
}

TEST_F(ObjectTest, ArrayCallsItsCallbacksWithItsAllocatorAndDescribesEachValue)
{
	g_counted = Counted();
	CFArrayCallBacks callbacks = {0, countRetain, countRelease, describeInt, nullptr};
	int one = 1, two = 2;
	CFMutableArrayRef a = CFArrayCreateMutable(kCFAllocatorDefault, 2, &callbacks);
	CFArrayAppendValue(a, &one);
	CFArrayAppendValue(a, &two);
	EXPECT_EQ(g_counted.retains, 2);
	EXPECT_EQ(g_counted.allocatorSeen, kCFAllocatorDefault);
	EXPECT_EQ(CFArrayGetCount(a), 2);
	EXPECT_EQ(CFArrayGetValueAtIndex(a, 1), &two);
	CFStringRef d = CFCopyDescription(a);
	EXPECT_EQ(text(d), "(\n    item 1,\n    item 2\n)");
	CFRelease(d);
	CFArrayRemoveValueAtIndex(a, 0);
	EXPECT_EQ(g_counted.releases, 1);
	CFRelease(a);
	EXPECT_EQ(g_counted.releases, 2);

	// Without callbacks the values are raw pointers: nothing is retained.
	CFStringRef s = CFStringCreateWithCString(nullptr, "x", kCFStringEncodingUTF8);
	CFMutableArrayRef raw = CFArrayCreateMutable(nullptr, 0, nullptr);
	CFArrayAppendValue(raw, s);
	EXPECT_EQ(CFGetRetainCount(s), 1);
	CFRelease(raw);
	CFMutableArrayRef typed = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
	CFArrayAppendValue(typed, s);
	EXPECT_EQ(CFGetRetainCount(s), 2);
	CFRelease(typed);
	EXPECT_EQ(CFGetRetainCount(s), 1);
	CFRelease(s);
}

TEST_F(ObjectTest, DictionaryComparesKeysByValueAndReleasesReplacedValues)
{
	CFMutableDictionaryRef d =
		CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
	CFStringRef key = CFStringCreateWithCString(nullptr, "version", kCFStringEncodingUTF8);
	SInt32 zero = 0, seven = 7;
	CFNumberRef n0 = CFNumberCreate(nullptr, kCFNumberSInt32Type, &zero);
	CFNumberRef n7 = CFNumberCreate(nullptr, kCFNumberSInt32Type, &seven);
	CFDictionarySetValue(d, key, n0);
	EXPECT_EQ(CFGetRetainCount(n0), 2);
	EXPECT_EQ(CFDictionaryGetValue(d, CFSTR("version")), n0); // an equal key from elsewhere finds it
	CFDictionarySetValue(d, CFSTR("version"), n7);
	EXPECT_EQ(CFGetRetainCount(n0), 1);
	EXPECT_EQ(CFDictionaryGetCount(d), 1);
	const void* found = nullptr;
	EXPECT_TRUE(CFDictionaryGetValueIfPresent(d, key, &found));
	EXPECT_EQ(found, n7);
	EXPECT_FALSE(CFDictionaryContainsKey(d, CFSTR("part")));
	EXPECT_EQ(CFDictionaryGetValue(d, CFSTR("part")), nullptr);
	CFDictionaryRemoveValue(d, key);
	EXPECT_EQ(CFGetRetainCount(n7), 1);
	for (CFTypeRef o : {CFTypeRef(d), CFTypeRef(key), CFTypeRef(n0), CFTypeRef(n7)})
		CFRelease(o);
}

TEST_F(ObjectTest, StringsCheckTheirEncodingAndFormatLikePrintfWithObjects)
{
	EXPECT_EQ(CFStringCreateWithCString(nullptr, "\xC3\x28", kCFStringEncodingUTF8), nullptr);
	EXPECT_EQ(CFStringCreateWithCString(nullptr, "caf\xC3\xA9", kCFStringEncodingASCII), nullptr);
	CFStringRef cafe = CFStringCreateWithCString(nullptr, "caf\xC3\xA9", kCFStringEncodingUTF8);
	EXPECT_EQ(CFStringGetLength(cafe), 4);
	char small[5];
	EXPECT_FALSE(CFStringGetCString(cafe, small, sizeof small, kCFStringEncodingUTF8)); // 5 bytes + terminator
	EXPECT_FALSE(CFStringGetCString(cafe, small, sizeof small, kCFStringEncodingASCII));

	CFStringRef f = CFStringCreateWithFormat(nullptr, nullptr, CFSTR("AUPreset:\npreset number = %d\npreset name = %@"),
		5, cafe);
	EXPECT_EQ(text(f), "AUPreset:\npreset number = 5\npreset name = caf\xC3\xA9");
	CFStringRef g = CFStringCreateWithFormat(nullptr, nullptr, CFSTR("%@|%5.2f|%s|%ld%%"), nullptr, 1.5, "c", 12L);
	EXPECT_EQ(text(g), "(null)| 1.50|c|12%");

	CFStringRef copy = CFStringCreateCopy(nullptr, cafe);
	EXPECT_EQ(CFStringCompare(copy, cafe, 0), kCFCompareEqualTo);
	EXPECT_EQ(CFStringCompare(CFSTR("A"), CFSTR("a"), 0), kCFCompareLessThan);
	EXPECT_EQ(CFStringCompare(CFSTR("A"), CFSTR("a"), kCFCompareCaseInsensitive), kCFCompareEqualTo);
	for (CFTypeRef o : {CFTypeRef(cafe), CFTypeRef(f), CFTypeRef(g), CFTypeRef(copy)})
		CFRelease(o);
}

TEST_F(ObjectTest, NumbersReportWhetherAConversionIsExact)
{
	SInt32 big = 300;
	CFNumberRef n = CFNumberCreate(nullptr, kCFNumberSInt32Type, &big);
	SInt8 small = 0;
	EXPECT_FALSE(CFNumberGetValue(n, kCFNumberSInt8Type, &small));
	double d = 0;
	EXPECT_TRUE(CFNumberGetValue(n, kCFNumberDoubleType, &d));
	EXPECT_EQ(d, 300.0);
	float half = 0.5f;
	CFNumberRef f = CFNumberCreate(nullptr, kCFNumberFloatType, &half);
	SInt32 i = 0;
	EXPECT_FALSE(CFNumberGetValue(f, kCFNumberSInt32Type, &i));
	EXPECT_TRUE(CFNumberIsFloatType(f));
	CFRelease(n);
	CFRelease(f);
}

TEST_F(ObjectTest, AllocatorBlocksAreCountedUntilReturned)
{
	EXPECT_EQ(CFAllocatorAllocate(nullptr, 0, 0), nullptr);
	void* p = CFAllocatorAllocate(kCFAllocatorDefault, 32, 0);
	ASSERT_NE(p, nullptr);
	EXPECT_EQ(cf::liveAllocationCount(), m_blocks + 1);
	CFAllocatorDeallocate(kCFAllocatorDefault, p);
	GTEST_FLAG_SET(death_test_style, "threadsafe");
	EXPECT_DEATH(CFAllocatorDeallocate(kCFAllocatorDefault, &p), "did not hand out");
}

TEST_F(ObjectTest, PropertyListRoundTripsThroughXmlWithSortedKeys)
{
	CFMutableDictionaryRef d =
		CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
	SInt32 type = 0x61756D75;
	CFNumberRef n = CFNumberCreate(nullptr, kCFNumberSInt32Type, &type);
	const UInt8 bytes[] = {0, 1, 2, 0xFF, 'x'};
	CFDataRef data = CFDataCreate(nullptr, bytes, sizeof bytes);
	CFDictionarySetValue(d, CFSTR("type"), n);
	CFDictionarySetValue(d, CFSTR("data"), data);
	CFDictionarySetValue(d, CFSTR("name"), CFSTR("Bells & <Pads>"));
	CFDataRef xml = CFPropertyListCreateData(nullptr, d, kCFPropertyListXMLFormat_v1_0, 0, nullptr);
	ASSERT_NE(xml, nullptr);
	std::string s(reinterpret_cast<const char*>(CFDataGetBytePtr(xml)), size_t(CFDataGetLength(xml)));
	EXPECT_EQ(s,
		"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
		"<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
		"<plist version=\"1.0\">\n<dict>\n"
		"\t<key>data</key>\n\t<data>\n\tAAEC/3g=\n\t</data>\n"
		"\t<key>name</key>\n\t<string>Bells &amp; &lt;Pads&gt;</string>\n"
		"\t<key>type</key>\n\t<integer>1635085685</integer>\n"
		"</dict>\n</plist>\n");

	CFPropertyListFormat format = 0;
	CFPropertyListRef back = CFPropertyListCreateWithData(nullptr, xml, 0, &format, nullptr);
	ASSERT_NE(back, nullptr);
	EXPECT_EQ(format, kCFPropertyListXMLFormat_v1_0);
	EXPECT_TRUE(CFEqual(back, d));
	for (CFTypeRef o : {CFTypeRef(d), CFTypeRef(n), CFTypeRef(data), CFTypeRef(xml), back})
		CFRelease(o);
}

TEST_F(ObjectTest, MalformedPropertyListsFailWithAnErrorAndLeakNothing)
{
	for (const char* bad : {"", "not xml", "<plist><dict><key>a</key></dict></plist>",
			 "<plist><dict><string>v</string></dict></plist>", "<plist><integer>12x</integer></plist>",
			 "<plist><data>@@@</data></plist>", "<plist><dict><key>a</key><array><string>x</string></dict></plist>",
			 "<plist><string><array/></string></plist>", "<plist><integer><dict/></integer></plist>"})
	{
		CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bad), CFIndex(std::strlen(bad)));
		CFErrorRef error = nullptr;
		EXPECT_EQ(CFPropertyListCreateWithData(nullptr, data, 0, nullptr, &error), nullptr) << bad;
		ASSERT_NE(error, nullptr) << bad;
		CFStringRef why = CFErrorCopyDescription(error);
		EXPECT_EQ(text(why).rfind("not an XML property list", 0), 0u);
		for (CFTypeRef o : {CFTypeRef(data), CFTypeRef(error), CFTypeRef(why)})
			CFRelease(o);
	}
}

TEST_F(ObjectTest, BundleFindsItsExecutableThroughItsInfoPlist)
{
	namespace fs = std::filesystem;
	fs::path root = fs::temp_directory_path() / ("cf-bundle-" + std::to_string(::getpid()));
	fs::create_directories(root / "Test.component/Contents/MacOS");
	std::ofstream(root / "Test.component/Contents/MacOS/Runner") << "x";
	std::ofstream(root / "Test.component/Contents/Info.plist")
		<< "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleExecutable</key><string>Runner</string>"
		   "<key>CFBundleIdentifier</key><string>com.example.test</string></dict></plist>";

	std::string dir = (root / "Test.component").string();
	CFStringRef path = CFStringCreateWithCString(nullptr, dir.c_str(), kCFStringEncodingUTF8);
	CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, true);
	CFBundleRef bundle = CFBundleCreate(nullptr, url);
	ASSERT_NE(bundle, nullptr);
	EXPECT_EQ(text(CFBundleGetIdentifier(bundle)), "com.example.test");
	CFURLRef exe = CFBundleCopyExecutableURL(bundle);
	ASSERT_NE(exe, nullptr);
	CFStringRef exePath = CFURLCopyFileSystemPath(exe, kCFURLPOSIXPathStyle);
	EXPECT_EQ(text(exePath), dir + "/Contents/MacOS/Runner");
	CFURLRef back = CFBundleCopyBundleURL(bundle);
	EXPECT_TRUE(CFURLHasDirectoryPath(back));
	EXPECT_TRUE(CFEqual(back, url));

	CFURLRef missing = CFURLCreateWithFileSystemPath(nullptr, CFSTR("/no/such/bundle"), kCFURLPOSIXPathStyle, true);
	EXPECT_EQ(CFBundleCreate(nullptr, missing), nullptr);
	for (CFTypeRef o : {CFTypeRef(path), CFTypeRef(url), CFTypeRef(bundle), CFTypeRef(exe), CFTypeRef(exePath),
			 CFTypeRef(back), CFTypeRef(missing)})
		CFRelease(o);
	fs::remove_all(root);
}

TEST_F(ObjectTest, ScriptedNotificationsRecordRequestsAndAnswerInTurn)
{
	cf::ScriptedUserNotifications script;
	script.queueResponse(kCFUserNotificationAlternateResponse);
	EXPECT_EQ(CFUserNotificationDisplayNotice(0, kCFUserNotificationNoteAlertLevel, nullptr, nullptr, nullptr,
				  CFSTR("Import"), CFSTR("3 singles imported"), CFSTR("OK")),
		0);
	CFOptionFlags response = 99;
	EXPECT_EQ(CFUserNotificationDisplayAlert(0, kCFUserNotificationCautionAlertLevel, nullptr, nullptr, nullptr,
				  CFSTR("Reset"), CFSTR("Sure?"), CFSTR("Yes"), CFSTR("No"), nullptr, &response),
		0);
	EXPECT_EQ(response, CFOptionFlags(kCFUserNotificationAlternateResponse));
	// Nothing queued: answered like a timeout.
	CFUserNotificationDisplayAlert(0, 0, nullptr, nullptr, nullptr, CFSTR("Again"), CFSTR("?"), nullptr, nullptr,
		nullptr, &response);
	EXPECT_EQ(response, CFOptionFlags(kCFUserNotificationCancelResponse));

	ASSERT_EQ(script.shown().size(), 3u);
	EXPECT_EQ(script.shown()[0].kind, cf::UserNotification::Kind::Notice);
	EXPECT_EQ(script.shown()[0].message, "3 singles imported");
	EXPECT_EQ(script.shown()[1].flags, CFOptionFlags(kCFUserNotificationCautionAlertLevel));
	EXPECT_EQ(script.shown()[1].alternateButton, "No");
}

TEST_F(ObjectTest, FileUrlsAreAbsoluteAndDirectoriesEndWithASlash)
{
	char cwd[4096];
	ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
	CFURLRef relative = CFURLCreateWithFileSystemPath(nullptr, CFSTR("a/./b/../c.component"), kCFURLPOSIXPathStyle, true);
	EXPECT_EQ(text(CFURLGetString(relative)), "file://" + std::string(cwd) + "/a/c.component/");
	CFStringRef path = CFURLCopyFileSystemPath(relative, kCFURLPOSIXPathStyle);
	EXPECT_EQ(text(path), std::string(cwd) + "/a/c.component");
	CFURLRef root = CFURLCreateWithFileSystemPath(nullptr, CFSTR("/"), kCFURLPOSIXPathStyle, true);
	EXPECT_EQ(text(CFURLGetString(root)), "file:///");
	CFURLRef file = CFURLCreateWithFileSystemPath(nullptr, CFSTR("/x/y.wav/"), kCFURLPOSIXPathStyle, false);
	EXPECT_FALSE(CFURLHasDirectoryPath(file));
	EXPECT_EQ(text(CFURLGetString(file)), "file:///x/y.wav");
	EXPECT_EQ(CFURLCreateWithFileSystemPath(nullptr, CFSTR(""), kCFURLPOSIXPathStyle, true), nullptr);
	for (CFTypeRef o : {CFTypeRef(relative), CFTypeRef(path), CFTypeRef(root), CFTypeRef(file)})
		CFRelease(o);
}

TEST_F(ObjectTest, NestedPropertyListsKeepTheirTypesThroughXml)
{
	const char* xml = "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><dict><key>on</key><true/><key>gain</key>"
					  "<real>-0.25</real><key>n</key><integer>-7</integer><key>none</key><array/></dict><false/>"
					  "<string>caf\xC3\xA9&#13;</string></array></plist>";
	CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(xml), CFIndex(std::strlen(xml)));
	auto array = static_cast<CFArrayRef>(CFPropertyListCreateWithData(nullptr, data, 0, nullptr, nullptr));
	ASSERT_NE(array, nullptr);
	ASSERT_EQ(CFArrayGetCount(array), 3);
	auto dict = static_cast<CFDictionaryRef>(CFArrayGetValueAtIndex(array, 0));
	EXPECT_EQ(CFDictionaryGetValue(dict, CFSTR("on")), kCFBooleanTrue);
	double gain = 0;
	EXPECT_TRUE(CFNumberGetValue(static_cast<CFNumberRef>(CFDictionaryGetValue(dict, CFSTR("gain"))), kCFNumberDoubleType, &gain));
	EXPECT_EQ(gain, -0.25);
	SInt32 n = 0;
	EXPECT_TRUE(CFNumberGetValue(static_cast<CFNumberRef>(CFDictionaryGetValue(dict, CFSTR("n"))), kCFNumberSInt32Type, &n));
	EXPECT_EQ(n, -7);
	EXPECT_EQ(CFArrayGetValueAtIndex(array, 1), kCFBooleanFalse);
	EXPECT_EQ(text(static_cast<CFStringRef>(CFArrayGetValueAtIndex(array, 2))), "caf\xC3\xA9\r");

	CFDataRef written = CFPropertyListCreateData(nullptr, array, kCFPropertyListXMLFormat_v1_0, 0, nullptr);
	CFPropertyListRef again = CFPropertyListCreateWithData(nullptr, written, 0, nullptr, nullptr);
	EXPECT_TRUE(CFEqual(again, array));
	CFErrorRef error = nullptr;
	EXPECT_EQ(CFPropertyListCreateData(nullptr, array, kCFPropertyListBinaryFormat_v1_0, 0, &error), nullptr);
	EXPECT_NE(error, nullptr);
	for (CFTypeRef o : {CFTypeRef(data), CFTypeRef(array), CFTypeRef(written), again, CFTypeRef(error)})
		CFRelease(o);
}
