// Restores arbitrary engine data through the instrument's saved state, as a host restores a song: the
// adapter's restore, the facade's and the engine's. The first input byte picks the form of the rest:
//   even: the rest is the engine data itself;
//   odd:  the rest is a list of edits to the engine data of a real saved state, four bytes each: a
//         24-bit position (taken modulo the length) and a byte XORed into it; 0 cuts the data there.
// Nothing may be read outside the input. A refused state must leave the instrument as it was: its next
// save is the one from before, byte for byte. An accepted one must save, restore and save the same.
// Every input starts from the same saved state, with an editor window block, so that no accepted
// input leaves anything behind for the next.
#include "au/auPlugin.h"

#include <AUPlugInDispatch.h>
#include <AudioUnit/AudioUnit.h>
#include <CoreFoundation/CoreFoundation.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;

AudioUnit g_unit = nullptr;
CFPropertyListRef g_baseline = nullptr;   // what the instrument saves before every input
Bytes g_baselineData;                      // the engine data inside it
CFMutableDictionaryRef g_state = nullptr;  // g_baseline's keys, with the engine data under test

CFStringRef chunkKey()
{
	return CFSTR("vRel_chunk");
}

CFPropertyListRef save()
{
	CFPropertyListRef state = nullptr;
	UInt32 size = sizeof state;
	if (AudioUnitGetProperty(g_unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &state, &size) != noErr)
		return nullptr;
	return state;
}

Bytes engineDataOf(CFPropertyListRef state)
{
	auto chunk = static_cast<CFDataRef>(CFDictionaryGetValue(static_cast<CFDictionaryRef>(state), chunkKey()));
	return chunk ? Bytes(CFDataGetBytePtr(chunk), CFDataGetBytePtr(chunk) + CFDataGetLength(chunk)) : Bytes();
}

void setEngineData(CFPropertyListRef state, const Bytes& bytes)
{
	CFDataRef chunk = CFDataCreate(nullptr, bytes.data(), CFIndex(bytes.size()));
	CFDictionarySetValue(static_cast<CFMutableDictionaryRef>(const_cast<void*>(state)), chunkKey(), chunk);
	CFRelease(chunk);
}

OSStatus restore(CFPropertyListRef state)
{
	return AudioUnitSetProperty(g_unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &state, sizeof state);
}

[[noreturn]] void fail(const char* what)
{
	std::fprintf(stderr, "%s\n", what);
	std::abort();
}

Bytes engineData(const uint8_t* data, size_t size)
{
	if (data[0] % 2 == 0)
		return Bytes(data + 1, data + size);
	Bytes edited = g_baselineData;
	for (size_t e = 1; e + 4 <= size && !edited.empty(); e += 4)
	{
		const size_t position = ((size_t(data[e]) << 16) | (size_t(data[e + 1]) << 8) | data[e + 2]) % edited.size();
		if (data[e + 3] == 0)
			edited.resize(position);
		else
			edited[position] ^= data[e + 3];
	}
	return edited;
}
}

// Log lines go to standard output; libFuzzer reports on standard error.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
	std::freopen("/dev/null", "w", stdout);
	AudioComponentDescription desc = {kAudioUnitType_MusicDevice, 'vRel', 'Venz', 0, 0};
	AudioComponent component =
		AudioComponentRegister(&desc, CFSTR("Venz: Virel"), 0x10101, AUMusicDeviceFactory<auPlugin>::Factory);
	if (!component || AudioComponentInstanceNew(component, &g_unit) != noErr || AudioUnitInitialize(g_unit) != noErr)
		fail("the instrument cannot be opened");

	// A fresh instance's state with an editor window block (version 1, 1024 x 576) put in before the single.
	CFPropertyListRef state = save();
	Bytes data = engineDataOf(state);
	constexpr size_t BlockLengthAt = 492;
	if (data.size() < BlockLengthAt + 4 || data[BlockLengthAt] != 0)
		fail("a fresh instance saves no engine data, or an editor block already");
	const uint8_t block[20] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0x40, 2, 0, 0};
	data[BlockLengthAt] = sizeof block;
	data.insert(data.begin() + BlockLengthAt + 4, std::begin(block), std::end(block));
	setEngineData(state, data);
	if (restore(state) != noErr)
		fail("a fresh instance's state with an editor block is refused");
	CFRelease(state);

	g_baseline = save();
	g_baselineData = engineDataOf(g_baseline);
	g_state = static_cast<CFMutableDictionaryRef>(const_cast<void*>(save()));
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	if (size == 0)
		return 0;
	setEngineData(g_state, engineData(data, size));
	const OSStatus status = restore(g_state);
	CFPropertyListRef after = save();
	if (!after)
		fail("the instrument cannot be saved after a restore");
	if (status != noErr)
	{
		if (!CFEqual(after, g_baseline))
			fail("a refused state changed what the instrument saves");
	}
	else
	{
		if (restore(after) != noErr)
			fail("a state the instrument saved is refused");
		CFPropertyListRef again = save();
		if (!again || !CFEqual(again, after))
			fail("a saved state does not save the same after it is restored");
		CFRelease(again);
		if (restore(g_baseline) != noErr)
			fail("the baseline state is refused");
		again = save();
		if (!again || !CFEqual(again, g_baseline))
			fail("the baseline state does not save the same after it is restored");
		CFRelease(again);
	}
	CFRelease(after);
	return 0;
}
