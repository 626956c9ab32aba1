#pragma once

#include <string>
#include <vector>

#include "synth/IEngineListener.h"
#include "synth/SMidiEvent.h"

// Records every engine report as a line of text, and the MIDI it sends, in order.
class RecordingEngineListener : public zentlib::IEngineListener
{
public:
	void onActiveProgramChanged(size_t index) override { calls.push_back("program " + std::to_string(index)); }
	void onSingleModified(size_t index) override { calls.push_back("single " + std::to_string(index)); }
	void onActiveSingleModified(size_t index) override { calls.push_back("active " + std::to_string(index)); }
	void sendMidi(const zentlib::SMidiEvent& event) override
	{
		calls.push_back("midi");
		sent.push_back(event.sysex);
	}
	void onSinglesModified(size_t first, size_t count) override
	{
		calls.push_back("singles " + std::to_string(first) + " " + std::to_string(count));
	}
	void serializeCustomData(std::vector<uint8_t>& data) override
	{
		calls.push_back("serialize");
		data = customOut;
	}
	void deserializeCustomData(const std::vector<uint8_t>& data) override
	{
		calls.push_back("deserialize");
		customIn = data;
	}

	void clear()
	{
		calls.clear();
		sent.clear();
	}

	std::vector<std::string> calls;
	std::vector<std::vector<uint8_t>> sent;
	std::vector<uint8_t> customOut;
	std::vector<uint8_t> customIn;
};
