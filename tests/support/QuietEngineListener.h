#pragma once

#include "synth/IEngineListener.h"

// An engine owner that ignores every report, for tests and benchmarks that only render.
class QuietEngineListener : public zentlib::IEngineListener
{
public:
	static QuietEngineListener* instance()
	{
		static QuietEngineListener listener;
		return &listener;
	}

	void onActiveProgramChanged(size_t) override {}
	void onSingleModified(size_t) override {}
	void onActiveSingleModified(size_t) override {}
	void sendMidi(const zentlib::SMidiEvent&) override {}
	void onSinglesModified(size_t, size_t) override {}
	void serializeCustomData(std::vector<uint8_t>&) override {}
	void deserializeCustomData(const std::vector<uint8_t>&) override {}
};
