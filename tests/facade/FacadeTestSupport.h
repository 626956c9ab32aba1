#pragma once

#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "MidiEvents.h"
#include "synth/IEditor.h"
#include "synth/IPluginListener.h"
#include "synth/Plugin.h"
#include "synth/SMidiEvent.h"

// Both doubles write into one journal, so a test sees the order in which the host side and the
// editor were told. Calls may come from any thread.
class CallJournal
{
public:
	void add(std::string entry)
	{
		std::lock_guard<std::mutex> lock(m_mutex);
		m_entries.push_back(std::move(entry));
	}

	std::vector<std::string> entries() const
	{
		std::lock_guard<std::mutex> lock(m_mutex);
		return m_entries;
	}

	void clear()
	{
		std::lock_guard<std::mutex> lock(m_mutex);
		m_entries.clear();
	}

private:
	mutable std::mutex m_mutex;
	std::vector<std::string> m_entries;
};

// The host adapter's stand-in. Parameter entries carry only the index: values are checked
// against the engine state instead.
class RecordingListener : public zentlib::IPluginListener
{
public:
	explicit RecordingListener(CallJournal& journal) : m_journal(journal) {}

	void onActiveProgramChanged(size_t index) override { m_journal.add("L program " + std::to_string(index)); }
	void onSingleModified(size_t index) override { m_journal.add("L single " + std::to_string(index)); }
	void onActiveSingleModified(size_t index) override { m_journal.add("L active " + std::to_string(index)); }
	void sendMidi(const zentlib::SMidiEvent& event) override
	{
		m_journal.add("L midi");
		std::lock_guard<std::mutex> lock(m_mutex);
		m_sent.push_back(event.sysex);
	}
	void onSinglesModified(size_t first, size_t count) override
	{
		m_journal.add("L singles " + std::to_string(first) + " " + std::to_string(count));
	}
	void onParameterChanged(zentlib::EParam parameter, float) override
	{
		m_journal.add("L param " + std::to_string(parameter));
	}
	void serializeCustomData(std::vector<uint8_t>& data) override
	{
		m_journal.add("L serialize");
		data = customOut;
	}
	void deserializeCustomData(const std::vector<uint8_t>& data) override
	{
		m_journal.add("L deserialize");
		customIn = data;
	}

	std::vector<std::vector<uint8_t>> sent() const
	{
		std::lock_guard<std::mutex> lock(m_mutex);
		return m_sent;
	}

	void clearSent()
	{
		std::lock_guard<std::mutex> lock(m_mutex);
		m_sent.clear();
	}

	std::vector<uint8_t> customOut;
	std::vector<uint8_t> customIn;

private:
	CallJournal& m_journal;
	mutable std::mutex m_mutex;
	std::vector<std::vector<uint8_t>> m_sent;
};

class RecordingEditor : public zentlib::IEditor
{
public:
	explicit RecordingEditor(CallJournal& journal) : m_journal(journal) {}

	void onParamChanged(zentlib::EParam parameter, float) override { m_journal.add("E param " + std::to_string(parameter)); }
	void onSinglesModified(size_t first, size_t count) override
	{
		m_journal.add("E singles " + std::to_string(first) + " " + std::to_string(count));
	}
	void onSingleModified(size_t index) override { m_journal.add("E single " + std::to_string(index)); }
	void onActiveSingleModified(size_t index) override { m_journal.add("E active " + std::to_string(index)); }
	void onActiveProgramChanged(size_t index) override { m_journal.add("E program " + std::to_string(index)); }

private:
	CallJournal& m_journal;
};

// Holds about 2 MB of engine, so it lives on the heap.
inline std::unique_ptr<zentlib::Plugin> makePlugin(zentlib::IPluginListener& listener, float rate = 44100.0f)
{
	auto plugin = std::make_unique<zentlib::Plugin>(&listener);
	plugin->setSampleRate(rate);
	return plugin;
}

// Renders one block into the given buffers (resized to the block).
inline void renderBlock(zentlib::Plugin& plugin, std::vector<float>& left, std::vector<float>& right, size_t frames)
{
	left.assign(frames, 0.0f);
	right.assign(frames, 0.0f);
	float* outputs[2] = {left.data(), right.data()};
	plugin.process(outputs, frames);
}

inline void renderBlock(zentlib::Plugin& plugin, size_t frames = 256)
{
	std::vector<float> left, right;
	renderBlock(plugin, left, right, frames);
}

// The engine's normalised parameter values as it saves them: the 109 floats after the version,
// the settings block and the parameter count.
inline std::vector<float> engineParameters(zentlib::Plugin& plugin)
{
	std::vector<uint8_t> state;
	plugin.getState(state);
	const uint32_t settingsSize = uint32_t(state[4]) | uint32_t(state[5]) << 8 | uint32_t(state[6]) << 16 |
	                              uint32_t(state[7]) << 24;
	size_t pos = 8 + settingsSize + 4;
	std::vector<float> values(zentlib::ParamCount);
	for (float& value : values)
	{
		uint32_t bits = 0;
		for (int i = 0; i < 4; ++i)
			bits |= uint32_t(state[pos + i]) << (8 * i);
		std::memcpy(&value, &bits, sizeof(value));
		pos += 4;
	}
	return values;
}

inline std::vector<float> cachedParameters(const zentlib::Plugin& plugin)
{
	std::vector<float> values(zentlib::ParamCount);
	for (uint32_t p = 0; p < zentlib::ParamCount; ++p)
		values[p] = plugin.getParameter(static_cast<zentlib::EParam>(p));
	return values;
}
