#pragma once

#include <cstdint>

namespace VSTGUI::Xml
{
// Feeds a description to the parser in pieces. The description never owns its provider.
class IContentProvider
{
public:
	// Copies up to size bytes into buffer; returns how many, 0 at the end (negative: an error,
	// which also ends the input).
	virtual int32_t readRawXmlData (int8_t* buffer, uint32_t size) = 0;
	virtual void rewind () = 0;
};

// A provider over bytes in memory, which must outlive it.
class MemoryContentProvider : public IContentProvider
{
public:
	MemoryContentProvider (const void* data, uint32_t size) : data (static_cast<const int8_t*> (data)), size (size) {}
	virtual ~MemoryContentProvider () noexcept = default;
	int32_t readRawXmlData (int8_t* buffer, uint32_t bufferSize) override;
	void rewind () override { position = 0; }

private:
	const int8_t* data;
	uint32_t size;
	uint32_t position {0};
};
} // VSTGUI::Xml
