#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "Engine.h"
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

	// Brings the cache in line with the engine and reports each difference; engine lock held.
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

	using Lock = std::lock_guard<std::recursive_mutex>;

	Engine m_engine;
	std::recursive_mutex m_engineLock;
	std::vector<SMidiEvent> m_pendingEvents;
	std::vector<SMidiEvent> m_processingEvents;
	std::recursive_mutex m_midiLock;
	std::atomic<float> m_parameterCache[ParamCount];
	IPluginListener* m_listener;
	IEditor* m_editor = nullptr;
};
}
