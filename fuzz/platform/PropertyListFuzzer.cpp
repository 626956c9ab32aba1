// Reads arbitrary bytes as an XML property list, as the host reads a saved .aupreset file. Whatever is
// accepted must survive being written and read again unchanged, and nothing may be left allocated.
#include <CoreFoundation/CFStandIn.h>
#include <CoreFoundation/CoreFoundation.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	const long before = cf::liveObjectCount();
	{
		CFDataRef bytes = CFDataCreate(nullptr, data, CFIndex(size));
		CFErrorRef error = nullptr;
		CFPropertyListRef plist = CFPropertyListCreateWithData(nullptr, bytes, 0, nullptr, &error);
		CFRelease(bytes);
		if (!plist)
		{
			if (!error)
				std::abort(); // a refusal always says why
			CFRelease(error);
		}
		else
		{
			CFDataRef xml = CFPropertyListCreateData(nullptr, plist, kCFPropertyListXMLFormat_v1_0, 0, nullptr);
			CFPropertyListRef again = xml ? CFPropertyListCreateWithData(nullptr, xml, 0, nullptr, nullptr) : nullptr;
			if (!again || !CFEqual(plist, again))
			{
				std::fprintf(stderr, "a property list did not survive writing and reading\n");
				std::abort();
			}
			CFRelease(again);
			CFRelease(xml);
			CFRelease(plist);
		}
	}
	if (cf::liveObjectCount() != before)
	{
		std::fprintf(stderr, "objects leaked\n");
		std::abort();
	}
	return 0;
}
