#pragma once

#include <vector>

#include "synth/IPluginListener.h"

// A host adapter that ignores every report, for tests and benchmarks that only render.
class QuietPluginListener : public zentlib::IPluginListener
{
public:
	// Listeners that record are built on this one, and some owners hold theirs by pointer.
	virtual ~QuietPluginListener() = default;

	void onActiveProgramChanged(size_t) override {}
	void onSingleModified(size_t) override {}
	void onActiveSingleModified(size_t) override {}
	void sendMidi(const zentlib::SMidiEvent&) override {}
	void onSinglesModified(size_t, size_t) override {}
	void onParameterChanged(zentlib::EParam, float) override {}
	void serializeCustomData(std::vector<uint8_t>&) override {}
	void deserializeCustomData(const std::vector<uint8_t>&) override {}
};
