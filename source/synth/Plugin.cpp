#include "Plugin.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "SavedState.h"
#include "Sysex.h"

namespace zentlib
{
namespace
{
// Room for the host calls of a block before recording allocates: a program change reports every
// parameter at most, and a block may hold two of them and the replies to a few requests.
constexpr size_t kHostCallRoom = 2 * ParamCount + 32;

std::string toLower(std::string text)
{
	for (char& c : text)
		c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
	return text;
}
}

Plugin::Plugin(IPluginListener* listener)
	: m_engine(this), m_listener(listener), m_hostCalls(kHostCallRoom), m_renderCalls(kHostCallRoom)
{
	for (uint32_t p = 0; p < ParamCount; ++p)
		m_parameterCache[p].store(m_engine.parameters.vstParams[p], std::memory_order_relaxed);
}

Plugin::~Plugin() = default;

Plugin::EngineLock::EngineLock(Plugin& plugin, HostCallQueue* outbox) : m_plugin(plugin), m_outbox(outbox)
{
	m_plugin.m_engineLock.lock();
	++m_plugin.m_engineLockDepth;
}

Plugin::EngineLock::~EngineLock()
{
	HostCallQueue own;
	HostCallQueue& calls = m_outbox ? *m_outbox : own;
	if (--m_plugin.m_engineLockDepth == 0)
		calls.takeFrom(m_plugin.m_hostCalls);
	m_plugin.m_engineLock.unlock();
	calls.deliver(*m_plugin.m_listener);
}

void Plugin::process(float** outputs, size_t frames)
{
	{
		MidiLock midiLock(m_midiLock);
		std::swap(m_pendingEvents, m_processingEvents);
	}
	{
		// The block's replies and reports reach the host within this call, without allocating once the
		// render queue has held as many.
		EngineLock engineLock(*this, &m_renderCalls);
		m_engine.process(outputs, static_cast<int>(frames), m_processingEvents);
	}
	m_processingEvents.clear();
}

void Plugin::addMidiEvent(const SMidiEvent& event)
{
	MidiLock midiLock(m_midiLock);
	m_pendingEvents.push_back(event);
}

void Plugin::setSampleRate(float rate)
{
	EngineLock lock(*this);
	m_engine.setSamplerate(rate);
}

bool Plugin::setCurrentSingleIndex(size_t index)
{
	EngineLock lock(*this);
	return m_engine.setSingle(index);
}

size_t Plugin::getCurrentSingleIndex()
{
	EngineLock lock(*this);
	return m_engine.currentSingle;
}

size_t Plugin::getSingleCount()
{
	EngineLock lock(*this);
	return m_engine.getSingleCount();
}

SinglePreset Plugin::getCurrentSingle()
{
	EngineLock lock(*this);
	return m_engine.singles[m_engine.currentSingle];
}

bool Plugin::getSingle(SinglePreset& out, size_t index)
{
	EngineLock lock(*this);
	if (index >= m_engine.singles.size())
		return false;
	out = m_engine.singles[index];
	return true;
}

std::vector<std::string> Plugin::getSingleNames()
{
	std::vector<std::string> names;
	EngineLock lock(*this);
	names.reserve(m_engine.singles.size());
	for (const SinglePreset& single : m_engine.singles)
		names.emplace_back(single.name, strnlen(single.name, sizeof(single.name)));
	return names;
}

bool Plugin::setSingle(size_t index, const SinglePreset& single)
{
	EngineLock lock(*this);
	return m_engine.setSingle(index, single);
}

bool Plugin::setSingles(size_t first, const std::vector<SinglePreset>& singles)
{
	EngineLock lock(*this);
	return m_engine.setSingles(first, singles);
}

void Plugin::setCurrentSingleName(const std::string& name)
{
	EngineLock lock(*this);
	m_engine.setCurrentSingleName(name);
}

bool Plugin::isSingleModified(size_t index)
{
	EngineLock lock(*this);
	return m_engine.isSingleModified(index);
}

bool Plugin::restoreFactorySingle(size_t index)
{
	EngineLock lock(*this);
	return m_engine.restoreFactorySingle(index);
}

bool Plugin::searchSingles(std::vector<size_t>& out, const std::string& text, size_t max)
{
	const std::string needle = toLower(text);
	out.clear();
	size_t count;
	{
		EngineLock lock(*this);
		count = m_engine.singles.size();
	}
	out.reserve(std::min(max, count));

	EngineLock lock(*this);
	for (size_t index = 0; index < m_engine.singles.size(); ++index)
	{
		const SinglePreset single = m_engine.singles[index];
		const std::string name = toLower(std::string(single.name, strnlen(single.name, sizeof(single.name))));
		if (needle.empty() || name.find(needle) != std::string::npos)
		{
			out.push_back(index);
			if (out.size() >= max)
				break;
		}
	}
	return !out.empty();
}

bool Plugin::swapSources(size_t a, size_t b)
{
	EngineLock lock(*this);
	return m_engine.swapSources(a, b);
}

SinglePreset Plugin::getFactorySingle(size_t index)
{
	EngineLock lock(*this);
	return m_engine.getFactorySingle(index);
}

bool Plugin::setParameter(EParam parameter, float value)
{
	value = withoutNegativeZero(value);
	if (m_parameterCache[parameter].load(std::memory_order_relaxed) == value)
		return false;
	m_parameterCache[parameter].store(value, std::memory_order_relaxed);

	EngineLock lock(*this);
	// A program change on another thread may have brought the cache back to the old engine value
	// between the store above and the lock; the value given here is the one the engine keeps.
	m_parameterCache[parameter].store(value, std::memory_order_relaxed);
	m_engine.parameters.setVSTParam(parameter, value);
	if (m_editor)
		m_editor->onParamChanged(parameter, value);
	return true;
}

float Plugin::getParameter(EParam parameter) const
{
	return m_parameterCache[parameter].load(std::memory_order_relaxed);
}

std::string Plugin::getParameterLabel(EParam parameter) const
{
	return g_params[parameter].getUnitLabel();
}

std::string Plugin::getParameterDisplay(EParam parameter) const
{
	const CParam& record = g_params[parameter];
	const float real = getParameter(parameter) * record.range + record.min;
	return record.formatValue(parameter, real);
}

std::string Plugin::getParameterName(EParam parameter) const
{
	const CParam& record = g_params[parameter];
	return record.group + record.name;
}

bool Plugin::sendParameterChangeAsSysex(EParam parameter, float value)
{
	EngineLock lock(*this);
	return m_engine.sendParameterAsSysex(parameter, value);
}

// The render thread waits for every hold of the engine lock: a save holds it only to copy what it keeps, and a
// restore only to change places with a state already read and checked. The listener is called without it.
bool Plugin::getState(std::vector<uint8_t>& data)
{
	SavedState state;
	state.reserveForEngine();
	{
		EngineLock lock(*this);
		m_engine.copyState(state);
	}
	m_listener->serializeCustomData(state.custom);
	writeState(data, state);
	return true;
}

bool Plugin::setState(const std::vector<uint8_t>& data)
{
	SavedState state;
	if (!readState(state, data))
		return false;
	if (!state.custom.empty())
		m_listener->deserializeCustomData(state.custom);
	// The lock is let go before state, which frees the store it was given in exchange, goes.
	EngineLock lock(*this);
	m_engine.takeState(state);
	// The saved values reach the engine after the switch to the saved single has been announced,
	// so the cache has not seen them yet.
	updateParametersFromEngine();
	return true;
}

bool Plugin::getSingle(std::vector<uint8_t>& out, size_t index)
{
	SinglePreset single;
	{
		EngineLock lock(*this);
		if (index >= m_engine.singles.size())
			return false;
		single = m_engine.singles[index];
	}
	return Sysex::writeSingle(out, single, 0, StorageLocation::InternalLow, 0);
}

bool Plugin::getCurrentSingle(std::vector<uint8_t>& out)
{
	size_t index;
	{
		EngineLock lock(*this);
		index = m_engine.currentSingle;
	}
	return getSingle(out, index);
}

bool Plugin::setSingle(const std::vector<uint8_t>& bytes, size_t index)
{
	if (bytes.empty())
		return false;
	Sysex::SysexResult result;
	Sysex::readBuffer(result, bytes, 255);
	if (result.singles.empty())
		return false;
	EngineLock lock(*this);
	return m_engine.setSingle(index, result.singles.front());
}

bool Plugin::setCurrentSingle(const std::vector<uint8_t>& bytes)
{
	size_t index;
	{
		EngineLock lock(*this);
		index = m_engine.currentSingle;
	}
	return setSingle(bytes, index);
}

void Plugin::setEditor(IEditor* editor)
{
	EngineLock lock(*this);
	m_editor = editor;
}

void Plugin::updateParametersFromEngine()
{
	for (uint32_t p = 0; p < ParamCount; ++p)
	{
		const float value = m_engine.parameters.vstParams[p];
		if (value == m_parameterCache[p].load(std::memory_order_relaxed))
			continue;
		m_parameterCache[p].store(value, std::memory_order_relaxed);
		const EParam parameter = static_cast<EParam>(p);
		if (m_editor)
			m_editor->onParamChanged(parameter, value);
		m_hostCalls.addParameterChange(parameter, value);
	}
}

void Plugin::onActiveProgramChanged(size_t index)
{
	updateParametersFromEngine();
	m_listener->onActiveProgramChanged(index);
	if (m_editor)
		m_editor->onActiveProgramChanged(index);
}

void Plugin::onSingleModified(size_t index)
{
	if (m_editor)
		m_editor->onSingleModified(index);
	m_listener->onSingleModified(index);
}

void Plugin::onActiveSingleModified(size_t index)
{
	updateParametersFromEngine();
	if (m_editor)
		m_editor->onActiveSingleModified(index);
	m_listener->onActiveSingleModified(index);
}

void Plugin::sendMidi(const SMidiEvent& event)
{
	m_hostCalls.addMidi(event);
}

void Plugin::onSinglesModified(size_t first, size_t count)
{
	if (m_editor)
		m_editor->onSinglesModified(first, count);
	m_listener->onSinglesModified(first, count);
}

void Plugin::serializeCustomData(std::vector<uint8_t>& data)
{
	m_listener->serializeCustomData(data);
}

void Plugin::deserializeCustomData(const std::vector<uint8_t>& data)
{
	m_listener->deserializeCustomData(data);
}
}
