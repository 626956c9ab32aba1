// auPlugin's factory presets, saved state and the announcements of changed singles.

#include "au/auPlugin.h"

#include "au/CFAUPreset.h"
#include "au/auEditor.h"
#include "synth/Plugin.h"
#include "synth/SinglePreset.h"
#include "synth/log.h"

#include <cstring>
#include <string>

namespace
{
// coreFoundationUnknownErr: Core Foundation could not make an object.
constexpr OSStatus kCoreFoundationUnknownErr = -4960;

// The engine state of all 768 singles takes 68,308 bytes; the rest leaves room for a longer settings block and
// editor window block than this version writes, and for nothing like a second store.
constexpr size_t kMaxEngineStateSize = 68308 + 4096;

// The component subtype followed by "_chunk".
CFStringRef chunkKey()
{
	return CFSTR("vRel_chunk");
}

bool readNumber(CFDictionaryRef state, CFStringRef key, SInt32& value)
{
	const void* number = CFDictionaryGetValue(state, key);
	return number && CFGetTypeID(number) == CFNumberGetTypeID() &&
		CFNumberGetValue(static_cast<CFNumberRef>(number), kCFNumberSInt32Type, &value);
}

// A four-character code as its characters when they are printable, else as its number.
std::string codeText(UInt32 code)
{
	std::string text;
	for (int shift = 24; shift >= 0; shift -= 8)
	{
		const char c = static_cast<char>((code >> shift) & 0xFF);
		if (c < 0x20 || c > 0x7E)
			return std::to_string(code);
		text += c;
	}
	return "'" + text + "'";
}

// The base class refuses a state with a bare status. These are the checks it makes, in its order, so the
// log can say which one failed.
std::string whyTheBaseRefused(CFDictionaryRef state, const AudioComponentDescription& own, OSStatus status)
{
	SInt32 value = 0;
	if (CFDictionaryContainsKey(state, CFSTR("part")))
		return "it is the state of one part, not of the whole instrument";
	if (!readNumber(state, CFSTR("version"), value))
		return "it has no version";
	if (value != 0)
		return "its version is " + std::to_string(value) + ", not 0";
	struct Code
	{
		CFStringRef key;
		const char* name;
		UInt32 expected;
	};
	const Code identity[] = {{CFSTR("subtype"), "subtype", own.componentSubType},
		{CFSTR("manufacturer"), "manufacturer", own.componentManufacturer}};
	for (const Code& code : identity)
	{
		const bool present = readNumber(state, code.key, value);
		if (present && UInt32(value) == code.expected)
			continue;
		return std::string("it is not a state of this instrument: its ") + code.name + " is " +
			(present ? codeText(UInt32(value)) : "missing") + ", not " + codeText(code.expected);
	}
	return "its parameter data are damaged (status " + std::to_string(status) + ")";
}
}

CFStringRef auPlugin::copySingleName(size_t index) const
{
	zentlib::SinglePreset single{};
	m_plugin->getSingle(single, index);
	const std::string name(single.name, strnlen(single.name, sizeof(single.name)));
	return CFStringCreateWithCString(kCFAllocatorDefault, name.c_str(), kCFStringEncodingUTF8);
}

OSStatus auPlugin::GetPresets(CFArrayRef* outData) const
{
	ZENT_LOG("AU: GetPresets");
	if (!IsInitialized())
		return kAudioUnitErr_Uninitialized;
	if (!outData)
		return noErr;

	const size_t count = m_plugin->getSingleCount();
	CFMutableArrayRef presets =
		CFArrayCreateMutable(kCFAllocatorDefault, static_cast<CFIndex>(count), &kCFAUPresetArrayCallBacks);
	if (!presets)
		return kCoreFoundationUnknownErr;

	for (size_t index = 0; index < count; ++index)
	{
		CFStringRef name = copySingleName(index);
		CFAUPresetRef preset = CFAUPresetCreate(kCFAllocatorDefault, static_cast<SInt32>(index), name);
		if (name)
			CFRelease(name);
		if (preset)
		{
			CFArrayAppendValue(presets, preset);
			CFAUPresetRelease(const_cast<CFAUPreset*>(preset));
		}
	}
	*outData = presets;
	return noErr;
}

OSStatus auPlugin::NewFactoryPresetSet(const AUPreset& preset)
{
	ZENT_LOG("AU: NewFactoryPresetSet");
	if (!IsInitialized() || preset.presetNumber < 0)
		return noErr;

	SetAFactoryPresetAsCurrent(preset);
	if (!m_plugin)
		return noErr;
	// A change of single comes back through onActiveProgramChanged, which names the current preset.
	if (!m_plugin->setCurrentSingleIndex(static_cast<size_t>(preset.presetNumber)))
		return kAudioUnitErr_InvalidPropertyValue;
	return noErr;
}

void auPlugin::presentSingle(size_t index)
{
	CFStringRef name = copySingleName(index);
	SetAFactoryPresetAsCurrent(AUPreset{static_cast<SInt32>(index), name});
	if (name)
		CFRelease(name);
}

void auPlugin::setPresetByID(int id)
{
	onActiveProgramChanged(static_cast<size_t>(id));
}

void auPlugin::onActiveProgramChanged(size_t index)
{
	presentSingle(index);
	PropertyChanged(kAudioUnitProperty_CurrentPreset, kAudioUnitScope_Global, 0);
	PropertyChanged(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0);
}

void auPlugin::announcePresetChanges()
{
	// Which single changed does not matter to the host: it reads the whole list again.
	PropertyChanged(kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0);
	PropertyChanged(kAudioUnitProperty_CurrentPreset, kAudioUnitScope_Global, 0);
	PropertyChanged(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0);
}

void auPlugin::onSingleModified(size_t)
{
	announcePresetChanges();
}

void auPlugin::onActiveSingleModified(size_t)
{
	announcePresetChanges();
}

void auPlugin::onSinglesModified(size_t, size_t)
{
	announcePresetChanges();
}

OSStatus auPlugin::SaveState(CFPropertyListRef* outData)
{
	ZENT_LOG("AU: SaveState");
	const OSStatus result = AUInstrumentBase::SaveState(outData);
	if (result != noErr)
		return result;
	if (!IsInitialized())
	{
		// A refused save hands the host nothing to release, so the dictionary just made goes here.
		CFRelease(*outData);
		*outData = nullptr;
		return kAudioUnitErr_Uninitialized;
	}

	std::vector<uint8_t> state;
	m_plugin->getState(state);
	CFDataRef chunk = CFDataCreate(kCFAllocatorDefault, state.data(), static_cast<CFIndex>(state.size()));
	CFDictionarySetValue(static_cast<CFMutableDictionaryRef>(const_cast<void*>(*outData)), chunkKey(), chunk);
	CFRelease(chunk);
	return noErr;
}

OSStatus auPlugin::RestoreState(CFPropertyListRef inData)
{
	ZENT_LOG("AU: RestoreState");
	std::vector<uint8_t> state;
	if (!copyEngineState(inData, state))
		return kAudioUnitErr_InvalidPropertyValue;

	// The base class names the current preset after the state; a state the engine refuses puts it back. The
	// present preset comes with its name retained for the caller.
	AUPreset before{-1, nullptr};
	DispatchGetProperty(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &before);
	OSStatus result = AUInstrumentBase::RestoreState(inData);
	if (result != noErr)
	{
		ZENT_LOG("AU: RestoreState refused: " << whyTheBaseRefused(static_cast<CFDictionaryRef>(inData),
													GetComponentDescription(), result));
	}
	else
	{
		// A host may restore a saved song before it initialises the instrument.
		const bool madeForThisState = !m_plugin;
		if (madeForThisState)
			InitializePlugin();
		if (!m_plugin->setState(state))
		{
			ZENT_LOG("AU: RestoreState refused: the engine cannot read the " << state.size()
															 << " bytes of its state; the instrument keeps what it had");
			// A facade made just now already presents the single it starts on, as after a first
			// initialisation; the preset shown before it existed named nothing the instrument plays.
			if (!madeForThisState && before.presetNumber >= 0)
				SetAFactoryPresetAsCurrent(before);
			else if (!madeForThisState)
				NewCustomPresetSet(before);
			PropertyChanged(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0);
			result = kAudioUnitErr_InvalidPropertyValue;
		}
	}
	if (before.presetName)
		CFRelease(before.presetName);
	return result;
}

bool auPlugin::copyEngineState(CFPropertyListRef dictionary, std::vector<uint8_t>& state)
{
	if (!dictionary || CFGetTypeID(dictionary) != CFDictionaryGetTypeID())
	{
		ZENT_LOG("AU: RestoreState refused: the state is not a dictionary");
		return false;
	}
	const void* chunk = CFDictionaryGetValue(static_cast<CFDictionaryRef>(dictionary), chunkKey());
	if (!chunk)
	{
		ZENT_LOG("AU: RestoreState refused: the state has no engine data under \"vRel_chunk\"");
		return false;
	}
	if (CFGetTypeID(chunk) != CFDataGetTypeID())
	{
		ZENT_LOG("AU: RestoreState refused: the engine data under \"vRel_chunk\" is not a data object");
		return false;
	}
	const auto data = static_cast<CFDataRef>(chunk);
	const auto size = static_cast<size_t>(CFDataGetLength(data));
	if (size > kMaxEngineStateSize)
	{
		ZENT_LOG("AU: RestoreState refused: the engine data holds " << size << " bytes, more than the "
																<< kMaxEngineStateSize << " of any saved state");
		return false;
	}
	state.assign(CFDataGetBytePtr(data), CFDataGetBytePtr(data) + size);
	return true;
}

void auPlugin::serializeCustomData(std::vector<uint8_t>& data)
{
	std::lock_guard<std::mutex> lock(m_editorLock);
	if (m_editor)
	{
		m_editor->saveState(data);
		m_editorState = data;
	}
	else if (!m_editorState.empty())
		data = m_editorState;
}

void auPlugin::deserializeCustomData(const std::vector<uint8_t>& data)
{
	// Without an editor owner the block is kept unchecked: the owner checks it when it is made.
	std::lock_guard<std::mutex> lock(m_editorLock);
	m_editorState = data;
	if (m_editor && !m_editor->loadState(data))
		m_editorState.clear();
}

void auPlugin::saveEditorState()
{
	// Only an editor owner has a window size to keep; without one the restored block stays as it came.
	std::lock_guard<std::mutex> lock(m_editorLock);
	if (m_editor)
		m_editor->saveState(m_editorState);
}

bool auPlugin::hasEditorState() const
{
	std::lock_guard<std::mutex> lock(m_editorLock);
	return !m_editorState.empty();
}
