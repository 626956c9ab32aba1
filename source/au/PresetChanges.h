#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

// What the engine changed about the presets, recorded on the thread that changed it (the render thread for MIDI
// program changes and received singles) while it holds the engine lock: atomic stores only, so recording never
// waits and makes no Core Foundation object. The adapter takes the records under its preset lock, names the
// present preset from them and announces them on the main thread.
class PresetChanges
{
public:
	enum Announcement : unsigned
	{
		PresentPreset = 1, // the current and the present preset
		PresetList = 2,    // the factory-preset list, then the current and the present preset
	};

	// The engine switched to single index: the present preset is to name it.
	void programChanged(size_t index)
	{
		m_program.store(static_cast<int64_t>(index), std::memory_order_release);
		m_announcements.fetch_or(PresentPreset, std::memory_order_release);
	}

	// The current single, index, changed: a present preset that names it takes its new name.
	void currentSingleEdited(size_t index)
	{
		m_currentEdited.store(static_cast<int64_t>(index), std::memory_order_release);
		singlesChanged();
	}

	// Any single changed: the host reads the whole list again.
	void singlesChanged() { m_announcements.fetch_or(PresetList, std::memory_order_release); }

	// The single of the latest program change not yet taken, or -1; taking it clears it.
	int64_t takeProgram() { return m_program.exchange(-1, std::memory_order_acq_rel); }
	// The current single edited since the last call, or -1.
	int64_t takeCurrentEdited() { return m_currentEdited.exchange(-1, std::memory_order_acq_rel); }
	// The announcements owed since the last call, as Announcement bits.
	unsigned takeAnnouncements() { return m_announcements.exchange(0, std::memory_order_acq_rel); }

private:
	std::atomic<int64_t> m_program{-1};
	std::atomic<int64_t> m_currentEdited{-1};
	std::atomic<unsigned> m_announcements{0};
};
