// auPlugin's host surface: parameters, the properties it answers itself, edit notifications and MIDI output.

#include "au/auPlugin.h"

#include <AudioToolbox/AudioUnitUtilities.h>
#include <CoreMIDI/CoreMIDI.h>
#include <objc/runtime.h>

#include "au/GetBundleFromExecutable.h"
#include "au/auEditor.h"
#include "synth/Plugin.h"
#include "synth/log.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>

namespace
{
constexpr AudioUnitParameterOptions kParameterFlags = kAudioUnitParameterFlag_IsReadable |
	kAudioUnitParameterFlag_IsWritable | kAudioUnitParameterFlag_ValuesHaveStrings |
	kAudioUnitParameterFlag_HasCFNameString | kAudioUnitParameterFlag_CFNameRelease;

// A MIDI packet's length field has 16 bits.
constexpr size_t kMaxPacketLength = 0xFFFF;

bool isParameterId(AudioUnitParameterID id)
{
	return id < zentlib::ParamCount;
}
}

OSStatus auPlugin::GetParameterList(AudioUnitScope scope, AudioUnitParameterID* outList, UInt32& outCount)
{
	if (scope != kAudioUnitScope_Global || !IsInitialized())
	{
		outCount = 0;
		return noErr;
	}
	outCount = zentlib::ParamCount;
	if (outList)
		std::memcpy(outList, m_parameterIds, sizeof(m_parameterIds));
	return noErr;
}

OSStatus auPlugin::GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id, AudioUnitParameterInfo& outInfo)
{
	if (scope != kAudioUnitScope_Global || !isParameterId(id))
		return kAudioUnitErr_InvalidParameter;
	if (!IsInitialized())
		return kAudioUnitErr_Uninitialized;

	outInfo.unit = kAudioUnitParameterUnit_Generic;
	outInfo.minValue = 0.0f;
	outInfo.maxValue = 1.0f;
	outInfo.defaultValue = 0.0f;
	outInfo.flags = kParameterFlags;

	const std::string name = m_plugin->getParameterName(static_cast<zentlib::EParam>(id));
	const size_t length = std::min(name.size(), sizeof(outInfo.name) - 1);
	std::memcpy(outInfo.name, name.data(), length);
	outInfo.name[length] = '\0';
	outInfo.cfNameString = CFStringCreateWithCString(kCFAllocatorDefault, name.c_str(), kCFStringEncodingUTF8);
	return noErr;
}

OSStatus auPlugin::GetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement,
	AudioUnitParameterValue& outValue)
{
	if (!isParameterId(id) || scope != kAudioUnitScope_Global)
		return kAudioUnitErr_InvalidParameter;
	if (!IsInitialized())
		return kAudioUnitErr_Uninitialized;
	outValue = m_plugin->getParameter(static_cast<zentlib::EParam>(id));
	return noErr;
}

OSStatus auPlugin::SetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
	AudioUnitParameterValue value, UInt32)
{
	if (!isParameterId(id) || scope != kAudioUnitScope_Global)
		return kAudioUnitErr_InvalidParameter;
	// The global scope has one element; a value meant for another one must not land on it.
	if (element != 0)
		return kAudioUnitErr_InvalidElement;
	if (!IsInitialized())
		return kAudioUnitErr_Uninitialized;
	ZENT_LOG("AU: SetParameter " << id << " to " << value);
	const auto parameter = static_cast<zentlib::EParam>(id);
	float normalised = 0;
	if (!hostValue(parameter, value, normalised))
	{
		ZENT_LOG("AU: SetParameter " << id << " refused: the value is not a number");
		return kAudioUnitErr_InvalidParameterValue;
	}
	// The host changed it, so the host is not told back.
	m_plugin->setParameter(parameter, normalised);
	return noErr;
}

bool auPlugin::hostValue(zentlib::EParam parameter, float value, float& normalised) const
{
	if (std::isnan(value))
		return false;
	// The engine may hold a value outside 0..1 (a field beyond its range): handing back the value held changes
	// nothing; any other value is brought into the range.
	const bool held = value == m_plugin->getParameter(parameter);
	normalised = held ? value : std::clamp(value, 0.0f, 1.0f);
	return true;
}

bool auPlugin::CanScheduleParameters() const
{
	ZENT_LOG("AU: CanScheduleParameters");
	return false;
}

void auPlugin::notifyParameterEvent(AudioUnitEventType type, int id)
{
	if (mustHoldHostCall())
	{
		holdHostCall([=, this] { notifyParameterEvent(type, id); });
		return;
	}
	AudioUnitEvent event{};
	event.mEventType = type;
	event.mArgument.mParameter.mAudioUnit = GetComponentInstance();
	event.mArgument.mParameter.mParameterID = static_cast<AudioUnitParameterID>(id);
	event.mArgument.mParameter.mScope = kAudioUnitScope_Global;
	event.mArgument.mParameter.mElement = 0;
	AUEventListenerNotify(nullptr, nullptr, &event);
}

bool auPlugin::ParameterBeginEdit(int id)
{
	if (id < 0)
		return false;
	ZENT_LOG("AU: ParameterBeginEdit " << id);
	notifyParameterEvent(kAudioUnitEvent_BeginParameterChangeGesture, id);
	return true;
}

bool auPlugin::ParameterEndEdit(int id)
{
	if (id < 0)
		return false;
	ZENT_LOG("AU: ParameterEndEdit " << id);
	notifyParameterEvent(kAudioUnitEvent_EndParameterChangeGesture, id);
	return true;
}

bool auPlugin::ParameterUpdate(int id)
{
	notifyParameterEvent(kAudioUnitEvent_ParameterValueChange, id);
	return true;
}

void auPlugin::onParameterChanged(zentlib::EParam parameter, float)
{
	// The host reads the value back through GetParameter, which already returns the updated cache.
	ParameterBeginEdit(parameter);
	notifyParameterEvent(kAudioUnitEvent_ParameterValueChange, parameter);
	ParameterEndEdit(parameter);
}

int auPlugin::GetNumCustomUIComponents()
{
	// The view is a Cocoa view only (property 31): there is no Carbon view component to list.
	return 0;
}

CFURLRef auPlugin::GetIconLocation()
{
	ZENT_LOG("AudioUnit: GetIconLocation called although we said we don't have one, returning nullptr");
	return nullptr;
}

namespace
{
// The view factory class lives in this plug-in's image; the host loads it from the bundle around it.
// Null while no view class is registered.
CFBundleRef copyViewBundle(Class& viewFactory)
{
	viewFactory = objc_getClass("VirelCocoaUI");
	return viewFactory ? GetBundleFromExecutable(class_getImageName(viewFactory)) : nullptr;
}
}

bool auPlugin::hasCocoaView() const
{
	Class viewFactory = nullptr;
	CFBundleRef bundle = copyViewBundle(viewFactory);
	if (!bundle)
		return false;
	CFRelease(bundle);
	return true;
}

OSStatus auPlugin::getCocoaViewInfo(AudioUnitCocoaViewInfo& info)
{
	Class viewFactory = nullptr;
	CFBundleRef bundle = copyViewBundle(viewFactory);
	if (!bundle)
		return kAudioUnitErr_InvalidProperty;
	info.mCocoaAUViewBundleLocation = CFBundleCopyBundleURL(bundle);
	CFRelease(bundle);
	info.mCocoaAUViewClass[0] = CFStringCreateWithCString(kCFAllocatorDefault, class_getName(viewFactory), kCFStringEncodingUTF8);
	return noErr;
}

auEditor* auPlugin::getEditor()
{
	std::lock_guard<std::mutex> lock(m_editorLock);
	if (!m_editor)
	{
		m_editor = new auEditor(*this, *m_plugin);
		m_editor->loadState(m_editorState);
	}
	return m_editor;
}

OSStatus auPlugin::GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
	UInt32& outDataSize, Boolean& outWritable)
{
	ZENT_LOG("AU: GetPropertyInfo " << id << ", scope " << scope);
	if (scope == kAudioUnitScope_Global)
	{
		switch (id)
		{
		case kAudioUnitProperty_CocoaUI:
			// Offered only when a host asking for it would get a view.
			if (!hasCocoaView())
				return kAudioUnitErr_InvalidProperty;
			outDataSize = sizeof(AudioUnitCocoaViewInfo);
			outWritable = true;
			return noErr;
		case kAudioUnitProperty_ParameterStringFromValue:
			if (!IsInitialized())
				return kAudioUnitErr_Uninitialized;
			outDataSize = sizeof(AudioUnitParameterStringFromValue);
			outWritable = false;
			return noErr;
		case kAudioUnitProperty_MIDIOutputCallbackInfo:
			ZENT_LOG("AU: GetPropertyInfo kAudioUnitProperty_MIDIOutputCallbackInfo");
			outDataSize = sizeof(CFArrayRef);
			outWritable = false;
			return noErr;
		case kAudioUnitProperty_MIDIOutputCallback:
			ZENT_LOG("AU: GetPropertyInfo kAudioUnitProperty_MIDIOutputCallback");
			outDataSize = sizeof(AUMIDIOutputCallbackStruct);
			outWritable = true;
			return noErr;
		case kPropertyPluginInstance:
			outDataSize = sizeof(zentlib::Plugin*);
			outWritable = false;
			return noErr;
		case kPropertyEditorInstance:
			// Offered once the facade it is built around exists.
			if (!m_plugin)
				return kAudioUnitErr_Uninitialized;
			outDataSize = sizeof(auEditor*);
			outWritable = true;
			return noErr;
		default:
			break;
		}
	}
	return AUInstrumentBase::GetPropertyInfo(id, scope, element, outDataSize, outWritable);
}

OSStatus auPlugin::GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData)
{
	ZENT_LOG("AU: GetProperty " << id << ", scope " << scope);
	if (scope == kAudioUnitScope_Global)
	{
		switch (id)
		{
		case kAudioUnitProperty_CocoaUI:
			return getCocoaViewInfo(*static_cast<AudioUnitCocoaViewInfo*>(outData));
		case kAudioUnitProperty_ParameterStringFromValue:
		{
			if (!IsInitialized())
				return kAudioUnitErr_Uninitialized;
			auto* request = static_cast<AudioUnitParameterStringFromValue*>(outData);
			if (!isParameterId(request->inParamID))
				return kAudioUnitErr_InvalidParameter;
			const auto parameter = static_cast<zentlib::EParam>(request->inParamID);
			float value = m_plugin->getParameter(parameter);
			if (request->inValue && !hostValue(parameter, *request->inValue, value))
				return kAudioUnitErr_InvalidParameterValue;
			const zentlib::CParam& record = zentlib::g_params[parameter];
			const std::string text = record.formatValue(parameter, value * record.range + record.min);
			request->outString = CFStringCreateWithCString(kCFAllocatorDefault, text.c_str(), kCFStringEncodingUTF8);
			return noErr;
		}
		case kAudioUnitProperty_MIDIOutputCallbackInfo:
		{
			ZENT_LOG("AU: GetProperty kAudioUnitProperty_MIDIOutputCallbackInfo");
			// One MIDI output.
			CFStringRef name = CFSTR("MIDI Out");
			*static_cast<CFArrayRef*>(outData) =
				CFArrayCreate(kCFAllocatorDefault, reinterpret_cast<const void**>(&name), 1, &kCFTypeArrayCallBacks);
			return noErr;
		}
		case kAudioUnitProperty_MIDIOutputCallback:
			*static_cast<AUMIDIOutputCallbackStruct*>(outData) = m_midiOutCallback.load();
			return noErr;
		case kPropertyPluginInstance:
			*static_cast<zentlib::Plugin**>(outData) = m_plugin;
			return noErr;
		case kPropertyEditorInstance:
			// The editor owner is built around the facade: before it exists there is nothing to hand out.
			if (!m_plugin)
				return kAudioUnitErr_Uninitialized;
			*static_cast<auEditor**>(outData) = getEditor();
			return noErr;
		default:
			break;
		}
	}
	return AUInstrumentBase::GetProperty(id, scope, element, outData);
}

OSStatus auPlugin::SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
	const void* inData, UInt32 inDataSize)
{
	if (scope == kAudioUnitScope_Global && id == kAudioUnitProperty_MIDIOutputCallback)
	{
		if (inDataSize < sizeof(AUMIDIOutputCallbackStruct))
			return kAudioUnitErr_InvalidPropertyValue;
		if (!inData)
			return noErr;
		ZENT_LOG("We've got a MIDI callback to send midi data");
		m_midiOutCallback.store(*static_cast<const AUMIDIOutputCallbackStruct*>(inData));
		return noErr;
	}
	return AUInstrumentBase::SetProperty(id, scope, element, inData, inDataSize);
}

void auPlugin::sendMidi(const zentlib::SMidiEvent& event)
{
	// The facade sends after it has let go of the engine lock, and none of the calls made under the preset lock
	// sends MIDI; were one to, its message would wait for the release like any other call into the host.
	if (mustHoldHostCall())
	{
		holdHostCall([this, event] { sendMidi(event); });
		return;
	}
	const AUMIDIOutputCallbackStruct callback = m_midiOutCallback.load();
	if (!callback.midiOutputCallback)
		return;
	if (event.sysex.size() > kMaxPacketLength)
	{
		ZENT_LOG("AU: SysEx message of " << event.sysex.size() << " bytes does not fit one MIDI packet, dropped");
		return;
	}

	std::vector<Byte> storage(event.sysex.size() + 256, 0);
	auto* list = reinterpret_cast<MIDIPacketList*>(storage.data());
	MIDIPacket* packet = MIDIPacketListInit(list);
	packet->timeStamp = 0;
	// A long message runs past the packet's nominal 256 bytes into the room allocated for it.
	Byte* data = reinterpret_cast<Byte*>(packet) + offsetof(MIDIPacket, data);
	if (event.sysex.empty())
	{
		data[0] = event.status;
		data[1] = event.data1;
		data[2] = event.data2;
		packet->length = 3;
	}
	else
	{
		std::memcpy(data, event.sysex.data(), event.sysex.size());
		packet->length = static_cast<UInt16>(event.sysex.size());
	}
	list->numPackets = 1;

	const AudioTimeStamp timeStamp = m_lastTimeStamp.load();
	if (callback.midiOutputCallback(callback.userData, &timeStamp, 0, list) != noErr)
		ZENT_LOG("Failed to send midi packet to host");
}
