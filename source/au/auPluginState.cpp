// auPlugin's factory presets, saved state and the announcements of changed singles.

#include "au/auPlugin.h"

#include "au/CFAUPreset.h"
#include "au/CalloutGate.h"
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

namespace
{
// A preset is named as its single's name reads back from a saved state: a record pads the name with blanks, so
// blanks at its end are no part of it, and a name saved, restored and saved again stays the same.
CFStringRef makeName(std::string name)
{
	name.erase(name.find_last_not_of(' ') + 1);
	return CFStringCreateWithCString(kCFAllocatorDefault, name.c_str(), kCFStringEncodingUTF8);
}
}

CFStringRef auPlugin::copySingleName(size_t index) const
{
	zentlib::SinglePreset single{};
	m_plugin->getSingle(single, index);
	return makeName(std::string(single.name, strnlen(single.name, sizeof(single.name))));
}

OSStatus auPlugin::GetPresets(CFArrayRef* outData) const
{
	ZENT_LOG("AU: GetPresets");
	if (!IsInitialized())
		return kAudioUnitErr_Uninitialized;
	if (!outData)
		return noErr;

	std::lock_guard<OwnedRecursiveMutex> lock(m_presetLock);
	// All names at once: the render thread takes the engine lock for every block and again at once, so a lock
	// taken per name could wait a whole block each time while the host renders offline.
	const std::vector<std::string> names = m_plugin->getSingleNames();
	CFMutableArrayRef presets =
		CFArrayCreateMutable(kCFAllocatorDefault, static_cast<CFIndex>(names.size()), &kCFAUPresetArrayCallBacks);
	if (!presets)
		return kCoreFoundationUnknownErr;

	for (size_t index = 0; index < names.size(); ++index)
	{
		CFStringRef name = makeName(names[index]);
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

	PresetScope scope(*this);
	SetAFactoryPresetAsCurrent(preset);
	if (!m_plugin)
		return noErr;
	// A change of single is recorded by the engine and names the current preset.
	if (!m_plugin->setCurrentSingleIndex(static_cast<size_t>(preset.presetNumber)))
		return kAudioUnitErr_InvalidPropertyValue;
	// The host chose it: it hears of the switch before the call returns.
	announceEngineChanges();
	return noErr;
}

OSStatus auPlugin::NewCustomPresetSet(const AUPreset& preset)
{
	PresetScope scope(*this);
	return AUInstrumentBase::NewCustomPresetSet(preset);
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
	m_presetChanges.programChanged(static_cast<size_t>(id));
	announceEngineChanges();
}

auPlugin::PresetScope::PresetScope(auPlugin& unit) : m_unit(unit)
{
	m_unit.m_presetLock.lock();
	m_unit.settlePresetChanges();
}

auPlugin::PresetScope::~PresetScope()
{
	m_unit.settlePresetChanges();
	std::vector<std::function<void()>> held;
	if (m_unit.m_presetLock.heldOnceByThisThread())
		held.swap(m_unit.m_heldHostCalls);
	m_unit.m_presetLock.unlock();
	for (const auto& call : held)
		call();
}

void auPlugin::PropertyChanged(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element)
{
	if (mustHoldHostCall())
		holdHostCall([=, this] { PropertyChanged(id, scope, element); });
	else
		AUInstrumentBase::PropertyChanged(id, scope, element);
}

void auPlugin::settlePresetChanges()
{
	if (!m_plugin)
		return;
	const int64_t program = m_presetChanges.takeProgram();
	if (program >= 0)
		presentSingle(static_cast<size_t>(program));
	const int64_t edited = m_presetChanges.takeCurrentEdited();
	if (edited < 0)
		return;
	AUPreset present{-1, nullptr};
	DispatchGetProperty(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &present);
	if (present.presetName)
		CFRelease(present.presetName);
	// A preset the host named itself keeps its name.
	if (present.presetNumber == edited)
		presentSingle(static_cast<size_t>(edited));
}

std::vector<AudioUnitPropertyID> auPlugin::takeEngineAnnouncements()
{
	const unsigned owed = m_presetChanges.takeAnnouncements();
	if (!owed)
		return {};
	{
		// A listener reads the preset it is told of.
		PresetScope named(*this);
	}
	// Which single changed does not matter to the host: it reads the whole list again.
	std::vector<AudioUnitPropertyID> properties;
	if (owed & PresetChanges::PresetList)
		properties.push_back(kAudioUnitProperty_FactoryPresets);
	properties.push_back(kAudioUnitProperty_CurrentPreset);
	properties.push_back(kAudioUnitProperty_PresentPreset);
	return properties;
}

void auPlugin::announceEngineChanges()
{
	for (AudioUnitPropertyID id : takeEngineAnnouncements())
		PropertyChanged(id, kAudioUnitScope_Global, 0);
}

void auPlugin::presetTimerFired(CFRunLoopTimerRef, void* info)
{
	auto& gate = *static_cast<CalloutGate*>(info);
	const CalloutGate::Callout callout(gate);
	if (!callout.admitted())
		return;
	auto& unit = *static_cast<auPlugin*>(gate.target());
	for (AudioUnitPropertyID id : unit.takeEngineAnnouncements())
	{
		// A listener may have closed the instance: here, or on another thread that waits for this callout.
		if (gate.closing())
			return;
		unit.PropertyChanged(id, kAudioUnitScope_Global, 0);
	}
}

// The engine calls these with its lock held, on whichever thread changed it: they only record.
void auPlugin::onActiveProgramChanged(size_t index)
{
	m_presetChanges.programChanged(index);
}

void auPlugin::onSingleModified(size_t)
{
	m_presetChanges.singlesChanged();
}

void auPlugin::onActiveSingleModified(size_t index)
{
	m_presetChanges.currentSingleEdited(index);
}

void auPlugin::onSinglesModified(size_t, size_t)
{
	m_presetChanges.singlesChanged();
}

OSStatus auPlugin::SaveState(CFPropertyListRef* outData)
{
	ZENT_LOG("AU: SaveState");
	// No restore or preset choice comes between the name saved and the engine state saved.
	PresetScope scope(*this);
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

	PresetScope scope(*this);
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
	// The switch to the saved single, heard after the restored name as the scope ends.
	announceEngineChanges();
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
