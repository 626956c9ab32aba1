#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <type_traits>

// A small plain value shared between threads without a lock: a writer never waits for a reader, and a
// reader retries until it has copied a value that no write overlapped. Writers exclude each other with
// the sequence counter itself, so any thread may write. The value lives in atomic words, so no access
// is a data race even while a copy is being retried.
template <class T> class SeqLocked
{
	static_assert(std::is_trivially_copyable_v<T>, "copied word by word");

public:
	SeqLocked() { store(T{}); }
	explicit SeqLocked(const T& value) { store(value); }
	SeqLocked(const SeqLocked&) = delete;
	SeqLocked& operator=(const SeqLocked&) = delete;

	void store(const T& value)
	{
		uint64_t words[WordCount] = {};
		std::memcpy(words, &value, sizeof(T));

		uint64_t seq = m_sequence.load(std::memory_order_relaxed);
		for (;;)
		{
			if ((seq & 1) == 0 &&
				m_sequence.compare_exchange_weak(seq, seq + 1, std::memory_order_acquire, std::memory_order_relaxed))
				break;
			seq = m_sequence.load(std::memory_order_relaxed);
		}
		// A reader that sees any of these words sees the odd count stored before them, and tries again.
		for (size_t i = 0; i < WordCount; ++i)
			m_words[i].store(words[i], std::memory_order_release);
		m_sequence.store(seq + 2, std::memory_order_release);
	}

	T load() const
	{
		uint64_t words[WordCount];
		for (;;)
		{
			const uint64_t before = m_sequence.load(std::memory_order_acquire);
			if (before & 1)
				continue;
			// Acquiring each word keeps the second read of the count after them, and brings the count a
			// store made before writing the word.
			for (size_t i = 0; i < WordCount; ++i)
				words[i] = m_words[i].load(std::memory_order_acquire);
			if (m_sequence.load(std::memory_order_relaxed) == before)
				break;
		}
		T value;
		std::memcpy(&value, words, sizeof(T));
		return value;
	}

private:
	static constexpr size_t WordCount = (sizeof(T) + sizeof(uint64_t) - 1) / sizeof(uint64_t);

	std::atomic<uint64_t> m_sequence{0};
	std::atomic<uint64_t> m_words[WordCount];
};
