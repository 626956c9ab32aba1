#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "Engine.h"
#include "HostCallQueue.h"
#include "IEditor.h"
#include "IEngineListener.h"
#include "IPluginListener.h"
#include "CParam.h"
#include "SMidiEvent.h"
#include "SinglePreset.h"

namespace zentlib
{
// The host-neutral face of the synth core: the only way in for the host adapter and the editor.
// It locks the engine, carries MIDI from any thread into the next block, caches the normalised
// parameters for lock-free reads, and fans every engine event out to the listener and the editor.
// What reaches the host (MIDI output, parameter reports) is passed on after the engine lock is
// released, on the same thread: a host callback may wait for a thread that waits for the lock.
class Plugin : private IEngineListener
{
public:
	explicit Plugin(IPluginListener* listener);
	~Plugin() override;
	Plugin(const Plugin&) = delete;
	Plugin& operator=(const Plugin&) = delete;

	void process(float** outputs, size_t frames);
	void addMidiEvent(const SMidiEvent& event);
	void setSampleRate(float rate);

	bool setCurrentSingleIndex(size_t index);
	size_t getCurrentSingleIndex();
	size_t getSingleCount();
	SinglePreset getCurrentSingle();
	bool getSingle(SinglePreset& out, size_t index);
	// Every single's name, in order, read under one hold of the engine lock.
	std::vector<std::string> getSingleNames();
	bool setSingle(size_t index, const SinglePreset& single);
	bool setSingles(size_t first, const std::vector<SinglePreset>& singles);
	void setCurrentSingleName(const std::string& name);
	bool isSingleModified(size_t index);
	bool restoreFactorySingle(size_t index);
	bool searchSingles(std::vector<size_t>& out, const std::string& text, size_t max);
	bool swapSources(size_t a, size_t b);
	SinglePreset getFactorySingle(size_t index);

	bool setParameter(EParam parameter, float value);
	float getParameter(EParam parameter) const;
	std::string getParameterLabel(EParam parameter) const;
	std::string getParameterDisplay(EParam parameter) const;
	std::string getParameterName(EParam parameter) const;
	bool sendParameterChangeAsSysex(EParam parameter, float value);

	bool getState(std::vector<uint8_t>& data);
	bool setState(const std::vector<uint8_t>& data);

	// Singles as one-single SysEx dumps.
	bool getSingle(std::vector<uint8_t>& out, size_t index);
	bool getCurrentSingle(std::vector<uint8_t>& out);
	bool setSingle(const std::vector<uint8_t>& bytes, size_t index);
	bool setCurrentSingle(const std::vector<uint8_t>& bytes);

	void setEditor(IEditor* editor);

	// Brings the cache in line with the engine and reports each difference; engine lock held. The
	// listener hears of the differences once the lock is released.
	void updateParametersFromEngine();

private:
	// IEngineListener
	void onActiveProgramChanged(size_t index) override;
	void onSingleModified(size_t index) override;
	void onActiveSingleModified(size_t index) override;
	void sendMidi(const SMidiEvent& event) override;
	void onSinglesModified(size_t first, size_t count) override;
	void serializeCustomData(std::vector<uint8_t>& data) override;
	void deserializeCustomData(const std::vector<uint8_t>& data) override;

	using MidiLock = std::lock_guard<std::recursive_mutex>;

	// Holds the engine lock. When the thread lets go of it for the last time, it makes the host calls
	// recorded meanwhile, after the release: into outbox when one is given, else into a queue of its own.
	class EngineLock
	{
	public:
		explicit EngineLock(Plugin& plugin, HostCallQueue* outbox = nullptr);
		~EngineLock();
		EngineLock(const EngineLock&) = delete;
		EngineLock& operator=(const EngineLock&) = delete;

	private:
		Plugin& m_plugin;
		HostCallQueue* m_outbox;
	};

	Engine m_engine;
	std::recursive_mutex m_engineLock;
	std::vector<SMidiEvent> m_pendingEvents;
	std::vector<SMidiEvent> m_processingEvents;
	std::recursive_mutex m_midiLock;
	std::atomic<float> m_parameterCache[ParamCount];
	IPluginListener* m_listener;
	IEditor* m_editor = nullptr;
	// How many times the thread holding the engine lock holds it.
	int m_engineLockDepth = 0;
	// Recorded under the engine lock.
	HostCallQueue m_hostCalls;
	// What a render call makes once it has released the lock; it keeps its room from block to block.
	HostCallQueue m_renderCalls;
};
}
