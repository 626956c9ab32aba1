#pragma once

#include <atomic>
#include <mutex>
#include <thread>

// A recursive mutex that tells whether the calling thread holds it.
class OwnedRecursiveMutex
{
public:
	void lock()
	{
		m_mutex.lock();
		if (m_depth++ == 0)
			m_owner.store(std::this_thread::get_id(), std::memory_order_relaxed);
	}

	void unlock()
	{
		if (--m_depth == 0)
			m_owner.store(std::thread::id(), std::memory_order_relaxed);
		m_mutex.unlock();
	}

	// Only the holder ever stores its own id, so a relaxed read is enough to recognise it.
	bool heldByThisThread() const { return m_owner.load(std::memory_order_relaxed) == std::this_thread::get_id(); }
	// Whether the calling thread's next unlock releases it.
	bool heldOnceByThisThread() const { return heldByThisThread() && m_depth == 1; }

private:
	std::recursive_mutex m_mutex;
	int m_depth = 0;
	std::atomic<std::thread::id> m_owner{};
};
