#pragma once

// The engine chunk inside a saved class-info dictionary, and engine states written and read with an editor block
// of our choosing, as another instance would have.

#include "QuietPluginListener.h"
#include "synth/Plugin.h"

#include <CoreFoundation/CoreFoundation.h>

#include <cstdint>
#include <vector>

namespace auhost
{
using Bytes = std::vector<uint8_t>;

class StateCodec : private QuietPluginListener
{
public:
	Bytes stateWithEditorBlock(const Bytes& block)
	{
		m_block = block;
		Bytes state;
		m_plugin.getState(state);
		return state;
	}
	Bytes editorBlockOf(const Bytes& state)
	{
		m_block.clear();
		m_plugin.setState(state);
		return m_block;
	}

private:
	void serializeCustomData(Bytes& data) override { data = m_block; }
	void deserializeCustomData(const Bytes& data) override { m_block = data; }

	Bytes m_block;
	zentlib::Plugin m_plugin{this};
};

inline Bytes chunkOf(CFPropertyListRef state)
{
	auto data = static_cast<CFDataRef>(CFDictionaryGetValue(static_cast<CFDictionaryRef>(state), CFSTR("vRel_chunk")));
	if (!data)
		return {};
	return Bytes(CFDataGetBytePtr(data), CFDataGetBytePtr(data) + CFDataGetLength(data));
}

inline void setChunk(CFPropertyListRef state, const Bytes& bytes)
{
	CFDataRef data = CFDataCreate(nullptr, bytes.data(), CFIndex(bytes.size()));
	CFDictionarySetValue(static_cast<CFMutableDictionaryRef>(const_cast<void*>(state)), CFSTR("vRel_chunk"), data);
	CFRelease(data);
}
}
