#pragma once

#include "AUInstrumentBase.h"

#include <AudioToolbox/AudioUnitUtilities.h>
#include <AudioUnit/AudioUnit.h>

#include "au/OwnedRecursiveMutex.h"
#include "au/PresetChanges.h"
#include "au/SeqLocked.h"
#include "synth/CParam.h"
#include "synth/IPluginListener.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace zentlib
{
class Plugin;
}
class auEditor;
class CalloutGate;

// Custom properties that hand the view side this instance's facade and editor owner, one pointer each.
enum
{
	kPropertyPluginInstance = 70000,
	kPropertyEditorInstance = 70001
};

// The instrument the host loads. It holds no synthesis state of its own: everything audible lives in the
// facade it owns, which is created at the first initialisation (or by a saved state that arrives first)
// and lives until the instance is closed. It calls into the host (MIDI output, property and parameter
// listeners) only while it holds neither the facade's engine lock nor its own preset lock.
class auPlugin : public AUInstrumentBase, private zentlib::IPluginListener
{
public:
	explicit auPlugin(ComponentInstanceRecord* instance);
	~auPlugin() override;

	OSStatus Version() override;
	OSStatus Initialize() override;
	void Cleanup() override;
	OSStatus Reset(AudioUnitScope scope, AudioUnitElement element) override;
	OSStatus GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, UInt32& outDataSize,
		Boolean& outWritable) override;
	OSStatus GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData) override;
	// Property 31: the bundle and the class of the view factory; unsupported while no view class is registered.
	OSStatus getCocoaViewInfo(AudioUnitCocoaViewInfo& info);
	// Property 70001: the editor owner, made at the first request and handed the kept editor state.
	auEditor* getEditor();
	bool hasCocoaView() const;
	OSStatus SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* inData,
		UInt32 inDataSize) override;
	OSStatus GetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
		AudioUnitParameterValue& outValue) override;
	OSStatus SetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
		AudioUnitParameterValue value, UInt32 bufferOffset) override;
	bool CanScheduleParameters() const override;
	OSStatus Render(AudioUnitRenderActionFlags& ioActionFlags, const AudioTimeStamp& timeStamp, UInt32 frames) override;
	OSStatus GetParameterList(AudioUnitScope scope, AudioUnitParameterID* outList, UInt32& outCount) override;
	OSStatus GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id, AudioUnitParameterInfo& outInfo) override;
	OSStatus SaveState(CFPropertyListRef* outData) override;
	OSStatus RestoreState(CFPropertyListRef inData) override;
	OSStatus GetPresets(CFArrayRef* outData) const override;
	OSStatus NewFactoryPresetSet(const AUPreset& preset) override;
	OSStatus NewCustomPresetSet(const AUPreset& preset) override;
	// While the calling thread holds the preset lock, what the base class announces waits for the lock's release.
	void PropertyChanged(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element) override;
	int GetNumCustomUIComponents() override;
	bool StreamFormatWritable(AudioUnitScope scope, AudioUnitElement element) override;
	UInt32 SupportedNumChannels(const AUChannelInfo** outInfo) override;
	bool ValidFormat(AudioUnitScope scope, AudioUnitElement element, const CAStreamBasicDescription& format) override;
	OSStatus ChangeStreamFormat(AudioUnitScope scope, AudioUnitElement element, const CAStreamBasicDescription& oldFormat,
		const CAStreamBasicDescription& newFormat) override;
	OSStatus StartNote(MusicDeviceInstrumentID instrument, MusicDeviceGroupID group, NoteInstanceID* outNoteId,
		UInt32 offset, const MusicDeviceNoteParams& params) override;
	OSStatus StopNote(MusicDeviceGroupID group, NoteInstanceID noteId, UInt32 offset) override;

	void InitializePlugin();
	bool IsPluginInitialized() const { return m_plugin != nullptr; }
	bool HasIcon() const { return false; }
	CFURLRef GetIconLocation();

	// Edit gestures and value changes for the host's parameter listeners.
	bool ParameterBeginEdit(int id);
	bool ParameterEndEdit(int id);
	bool ParameterUpdate(int id);

	void setPresetByID(int id);
	// The base class answers a host's read of the present preset itself, before any call reaches the instrument:
	// the entry points make that read here, in order with every other reader and writer of the preset.
	template <class Read> OSStatus readPresentPreset(Read&& read)
	{
		PresetScope scope(*this);
		return read();
	}
	// Refreshes the editor state from the editor owner, when there is one.
	void saveEditorState();
	bool hasEditorState() const;

protected:
	OSStatus HandleMidiEvent(UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 startFrame) override;
	OSStatus HandleSysEx(const UInt8* data, UInt32 length) override;

private:
	// zentlib::IPluginListener
	void onActiveProgramChanged(size_t index) override;
	void onSingleModified(size_t index) override;
	void onActiveSingleModified(size_t index) override;
	void sendMidi(const zentlib::SMidiEvent& event) override;
	void onSinglesModified(size_t first, size_t count) override;
	void onParameterChanged(zentlib::EParam parameter, float value) override;
	void serializeCustomData(std::vector<uint8_t>& data) override;
	void deserializeCustomData(const std::vector<uint8_t>& data) override;

	// The normalised value a host's value stands for; false for a value that is not a number.
	bool hostValue(zentlib::EParam parameter, float value, float& normalised) const;
	void notifyParameterEvent(AudioUnitEventType type, int id);

	// Holds the preset lock with what the engine recorded applied to the present preset, and applies what it
	// records meanwhile before letting go. The calls into the host made under it are made after the release.
	class PresetScope
	{
	public:
		explicit PresetScope(auPlugin& unit);
		~PresetScope();
		PresetScope(const PresetScope&) = delete;
		PresetScope& operator=(const PresetScope&) = delete;

	private:
		auPlugin& m_unit;
	};
	// Names the present preset after the engine's recorded program change and edit of the current single;
	// preset lock held.
	void settlePresetChanges();
	// The properties to announce for what the engine recorded since the last announcement, in order, with the
	// present preset named accordingly.
	std::vector<AudioUnitPropertyID> takeEngineAnnouncements();
	// Announces them on the calling thread; under the preset lock, as the lock is let go.
	void announceEngineChanges();
	// A call into the host waits while this thread holds the preset lock, as a host callback may wait for a
	// thread that waits for the lock: it is held, and made again as the lock is let go.
	bool mustHoldHostCall() const { return m_presetLock.heldByThisThread(); }
	void holdHostCall(std::function<void()> again) { m_heldHostCalls.push_back(std::move(again)); }
	static void presetTimerFired(CFRunLoopTimerRef timer, void* info);
	// The engine state inside a saved state's dictionary; false, with a log line saying why, when there is
	// none a saved state of this instrument could hold.
	static bool copyEngineState(CFPropertyListRef dictionary, std::vector<uint8_t>& state);
	// Makes single index the current factory preset, under its name; announces nothing.
	void presentSingle(size_t index);
	// A new UTF-8 string of single index's name; the caller releases it.
	CFStringRef copySingleName(size_t index) const;

	zentlib::Plugin* m_plugin = nullptr;
	// The present preset (the base class's current preset, named by a Core Foundation string) has one owner: the
	// thread holding this lock. Save, restore, the present preset's get and set, the preset list and every
	// renaming take it; the render thread never does, it only records what the engine changed, and the main
	// thread's timer names and announces that. Taken before the engine lock, never after it.
	mutable OwnedRecursiveMutex m_presetLock;
	std::vector<std::function<void()>> m_heldHostCalls;
	PresetChanges m_presetChanges;
	// The timer fires on the main thread; the gate keeps its announcements off an instance being closed.
	CalloutGate* m_timerGate = nullptr;
	CFRunLoopTimerRef m_presetTimer = nullptr;
	// A host saves and restores the state on a thread of its own, while the main thread makes the editor owner
	// and stores the window's size: the lock guards the owner's pointer and the editor state between them. It
	// is taken after the engine lock, never before it, and nothing holding it calls out of the adapter.
	mutable std::mutex m_editorLock;
	auEditor* m_editor = nullptr;
	std::vector<uint8_t> m_editorState;
	// Written by Render and by the host's property call, read by sendMidi on whichever thread sends:
	// neither writer nor reader ever waits for the other.
	SeqLocked<AudioTimeStamp> m_lastTimeStamp;
	SeqLocked<AUMIDIOutputCallbackStruct> m_midiOutCallback;
	AUChannelInfo m_channelInfo[2];
	AudioUnitParameterID m_parameterIds[zentlib::ParamCount];
};
