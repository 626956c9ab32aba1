#pragma once

#include <array>
#include <atomic>
#include <cstddef>

#include "synth/CParam.h"

// Carries the facade's editor calls from other threads (the render thread above all) to the window's
// thread. The caller holds the engine lock, so posting only sets atomic flags: it never blocks and never
// touches a view. A parameter is replayed with the facade's value at replay time, so many changes of
// one parameter between two replays cost one view update and the latest value wins.
class EditorCallRelay
{
public:
	enum Event : size_t
	{
		SinglesModified,
		SingleModified,
		ActiveSingleModified,  // also stands for a program change: both refresh the same views
		EventCount
	};

	void postParameter(zentlib::EParam parameter)
	{
		m_parameters[parameter].store(true, std::memory_order_relaxed);
		m_pending.store(true, std::memory_order_release);
	}

	void postEvent(Event event)
	{
		m_events[event].store(true, std::memory_order_relaxed);
		m_pending.store(true, std::memory_order_release);
	}

	// Replays parameters in ascending order, then the single-level events in the order above, each once.
	// A post that races with the replay is either replayed now or left pending for the next call.
	template <typename OnParameter, typename OnEvent>
	void replay(OnParameter&& onParameter, OnEvent&& onEvent)
	{
		if (!m_pending.exchange(false, std::memory_order_acquire))
			return;
		for (size_t p = 0; p < zentlib::ParamCount; ++p)
			if (m_parameters[p].exchange(false, std::memory_order_relaxed))
				onParameter(static_cast<zentlib::EParam>(p));
		for (size_t e = 0; e < EventCount; ++e)
			if (m_events[e].exchange(false, std::memory_order_relaxed))
				onEvent(static_cast<Event>(e));
	}

private:
	std::array<std::atomic<bool>, zentlib::ParamCount> m_parameters{};
	std::array<std::atomic<bool>, EventCount> m_events{};
	std::atomic<bool> m_pending{false};
};
