#include "MidiToSysex.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "log.h"

namespace zentlib
{
namespace
{
constexpr int MetaEvent = 0xFF;
constexpr int EndOfTrack = 0x2F;
constexpr int SysexEvent = 0xF0;

bool readId(std::FILE* file, char id[4])
{
	return std::fread(id, 1, 4, file) == 4;
}

bool atEnd(std::FILE* file)
{
	const int c = std::fgetc(file);
	if (c == EOF)
		return true;
	std::ungetc(c, file);
	return false;
}

// The size of the whole stream, or 0 when it cannot be told; the position is kept.
int64_t streamSize(std::FILE* file)
{
	const long position = std::ftell(file);
	if (position < 0 || std::fseek(file, 0, SEEK_END) != 0)
		return 0;
	const long size = std::ftell(file);
	std::fseek(file, position, SEEK_SET);
	return size < 0 ? 0 : size;
}

// Reads up to count bytes and drops them; reading, not seeking, so a length that points far
// beyond the end costs nothing and never moves the position backwards.
void skipBytes(std::FILE* file, int64_t count)
{
	char buffer[4096];
	while (count > 0)
	{
		const size_t want = static_cast<size_t>(std::min<int64_t>(count, sizeof(buffer)));
		const size_t got = std::fread(buffer, 1, want, file);
		count -= static_cast<int64_t>(got);
		if (got < want)
			return;
	}
}

// Appends F0 and the event's data. Bytes missing at the end of the file become zeros up to the
// declared length, within reason: a cut-off dump in a small file is padded in full, while a length
// far beyond anything the file could hold stops at the larger of the file's size and 1 MiB.
void appendSysex(std::vector<uint8_t>& out, std::FILE* file, int64_t length, int64_t fileSize)
{
	constexpr int64_t MinPaddingLimit = int64_t(1) << 20;
	out.push_back(SysexEvent);
	int64_t present = 0;
	uint8_t buffer[4096];
	while (present < length)
	{
		const size_t want = static_cast<size_t>(std::min<int64_t>(length - present, sizeof(buffer)));
		const size_t got = std::fread(buffer, 1, want, file);
		out.insert(out.end(), buffer, buffer + got);
		present += static_cast<int64_t>(got);
		if (got < want)
			break;
	}
	const int64_t padded = std::min(length, std::max(fileSize, MinPaddingLimit));
	if (present < padded)
		out.insert(out.end(), static_cast<size_t>(padded - present), 0);
}

// One track's events, up to its end-of-track event. 1: the file is at its end, 0: more chunks
// may follow, -1: the file ended inside the track.
int readTrack(std::vector<uint8_t>& out, std::FILE* file, int64_t fileSize)
{
	for (;;)
	{
		int count = 0;
		MidiToSysex::readVarLen(file, &count); // delta time, not used
		if (count == 0)
			return -1;

		const int status = std::fgetc(file);
		if (status == MetaEvent)
		{
			const int type = std::fgetc(file);
			const int64_t length = MidiToSysex::readVarLen(file, &count);
			if (type == EndOfTrack)
				return atEnd(file) ? 1 : 0;
			if (count == 0)
				return -1;
			skipBytes(file, length);
		}
		else if (status == SysexEvent)
		{
			const int64_t length = MidiToSysex::readVarLen(file, &count);
			if (count == 0)
				return -1;
			appendSysex(out, file, length, fileSize);
		}
		// Any other byte is stepped over alone.
	}
}
}

bool MidiToSysex::readFile(std::vector<uint8_t>& out, const char* path)
{
	std::FILE* file = std::fopen(path, "rb");
	if (!file)
	{
		ZENT_LOG("Failed to open file " << path);
		return false;
	}
	const bool result = readStream(out, file);
	std::fclose(file);
	return result;
}

bool MidiToSysex::readStream(std::vector<uint8_t>& out, std::FILE* file)
{
	const int64_t fileSize = streamSize(file);

	char id[4];
	if (!readId(file, id) || std::memcmp(id, "MThd", 4) != 0)
		return false;
	ignoreChunk(file);
	if (atEnd(file))
		return true;

	for (;;)
	{
		if (!readId(file, id))
			return true;
		if (std::memcmp(id, "MTrk", 4) != 0)
		{
			if (!ignoreChunk(file) || atEnd(file))
				return true;
			continue;
		}

		getChunkLength(file); // the track ends at its end-of-track event, not by its length
		const int track = readTrack(out, file, fileSize);
		if (track < 0)
		{
			ZENT_LOG("Failed to read variable length variable");
			return false;
		}
		if (track > 0)
			return true;
	}
}

bool MidiToSysex::checkChunk(std::FILE* file, const char* id)
{
	char read[4];
	return readId(file, read) && std::memcmp(read, id, 4) == 0;
}

bool MidiToSysex::ignoreChunk(std::FILE* file)
{
	const int64_t length = getChunkLength(file);
	if (length == -1)
		return false;
	std::fseek(file, static_cast<long>(length), SEEK_CUR);
	return !atEnd(file);
}

int64_t MidiToSysex::readVarLen(std::FILE* file, int* count)
{
	constexpr int64_t Max = std::numeric_limits<int64_t>::max();
	*count = 1;
	int c = std::fgetc(file);
	if (c != EOF && !(c & 0x80))
		return c;

	int64_t value = c == EOF ? 0 : (c & 0x7F);
	while (c == EOF || (c & 0x80))
	{
		c = std::fgetc(file);
		if (c == EOF)
		{
			*count = 0;
			return -1;
		}
		++*count;
		value = value > (Max >> 7) ? Max : (value << 7) | (c & 0x7F);
	}
	return value;
}

int64_t MidiToSysex::getChunkLength(std::FILE* file)
{
	int64_t length = 0;
	for (int i = 0; i < 4; ++i)
	{
		const int c = std::fgetc(file);
		if (c == EOF)
			return -1;
		length = (length << 8) | c;
	}
	return length;
}
}
