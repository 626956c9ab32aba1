#pragma once

#include <array>
#include <cassert>
#include <cstddef>

// A vector with a fixed capacity whose elements live inline: no allocation ever, so it can sit in
// objects that the audio thread touches.
template <typename T, size_t Capacity>
class StaticArray
{
public:
	using value_type = T;
	using iterator = T*;
	using const_iterator = const T*;

	static constexpr size_t capacity() { return Capacity; }
	size_t size() const { return m_size; }
	bool empty() const { return m_size == 0; }
	bool full() const { return m_size == Capacity; }

	void clear() { m_size = 0; }

	void push_back(const T& value)
	{
		assert(m_size < Capacity);
		m_items[m_size++] = value;
	}

	void pop_back()
	{
		assert(m_size > 0);
		--m_size;
	}

	// Grows with value-initialised elements or shrinks; never beyond the capacity.
	void resize(size_t size)
	{
		assert(size <= Capacity);
		for (size_t i = m_size; i < size; ++i)
			m_items[i] = T{};
		m_size = size;
	}

	T& operator[](size_t index)
	{
		assert(index < m_size);
		return m_items[index];
	}
	const T& operator[](size_t index) const
	{
		assert(index < m_size);
		return m_items[index];
	}

	T& back() { return (*this)[m_size - 1]; }
	const T& back() const { return (*this)[m_size - 1]; }

	T* data() { return m_items.data(); }
	const T* data() const { return m_items.data(); }

	iterator begin() { return m_items.data(); }
	iterator end() { return m_items.data() + m_size; }
	const_iterator begin() const { return m_items.data(); }
	const_iterator end() const { return m_items.data() + m_size; }

private:
	std::array<T, Capacity> m_items{};
	size_t m_size = 0;
};
