#include "Sysex.h"

#include <algorithm>
#include <cstdio>

#include "SingleRecord.h"
#include "log.h"

namespace zentlib
{
namespace
{
constexpr uint8_t SysexStart = 0xF0;
constexpr uint8_t SysexEnd = 0xF7;
constexpr uint8_t ManufacturerId = 0x40;
constexpr uint8_t MachineId = 0x03;
constexpr uint8_t SynthesizerGroup = 0x00;
constexpr uint8_t ChannelCount = 16;
constexpr size_t HeaderSize = 6;
constexpr size_t RecordStart = 8; // first record byte of a dump, after s1 and s2
constexpr size_t BlockSize = 32;  // singles or multis in a block dump

enum Function : uint8_t
{
	OneRequest = 0x00,
	BlockRequest = 0x01,
	ParameterChangeFunction = 0x10,
	OneDump = 0x20,
	BlockDump = 0x21,
	WriteStored = 0x40,
	WriteFailed = 0x41,
	WriteNotSupported = 0x42,
	MachineIdRequestFunction = 0x60,
	MachineIdResponseFunction = 0x61
};

constexpr uint8_t MultiBlock = 0x40;
constexpr uint8_t SinglesHighHalf = 0x20;
constexpr size_t SinglesPerMemory = 64; // the numbers sub-command 2 gives a single

struct MessageKind
{
	const char* name = nullptr; // null for a function the protocol does not have
	size_t length = 0;          // F0 and F7 included
};

// A block dump holds singles or multis, as its sub-command 2 tells.
MessageKind kindOf(uint8_t function, uint8_t subcommand2)
{
	switch (function)
	{
	case OneRequest: return {"request for one single or multi (00h)", 9};
	case BlockRequest: return {"request for a block of singles (01h)", 9};
	case ParameterChangeFunction: return {"parameter change (10h)", 10};
	case OneDump: return {"single block data dump (20h)", RecordStart + SingleRecordSize + 1};
	case BlockDump:
		if (subcommand2 == MultiBlock)
			return {"all block data dump of multis (21h)", RecordStart + BlockSize * MultiRecordSize + 1};
		return {"all block data dump of singles (21h)", RecordStart + BlockSize * SingleRecordSize + 1};
	case WriteStored:
	case WriteFailed:
	case WriteNotSupported: return {"write result", HeaderSize + 1};
	case MachineIdRequestFunction: return {"machine-ID request (60h)", 5};
	case MachineIdResponseFunction: return {"machine-ID answer (61h)", HeaderSize + 1};
	default: return {};
	}
}

// Each kind the reader takes is read only at its own length: a byte more or less is no message of that
// kind, and reading it anyway would take the closing F7 for a value or a stray byte for part of a record.
bool hasItsLength(uint8_t function, uint8_t subcommand2, size_t length)
{
	const MessageKind kind = kindOf(function, subcommand2);
	if (length == kind.length)
		return true;
	ZENT_LOG("Invalid length " << length << " for " << kind.name << ", expected " << kind.length);
	return false;
}

// Bytes go into log lines as decimal numbers, never as characters.
unsigned num(uint8_t value)
{
	return value;
}

// Between F0 and the closing F7 every byte is a 7-bit data byte. The checksums cannot see bit 7, so a
// record carrying it would be stored damaged, and a single number carrying it names another single.
bool hasOnlyDataBytes(const uint8_t* message, size_t length)
{
	for (size_t i = 1; i < length; ++i)
	{
		if (message[i] < 0x80 || (i + 1 == length && message[i] == SysexEnd))
			continue;
		ZENT_LOG("Invalid data byte " << num(message[i]) << " at position " << i << ", expected 0-127");
		return false;
	}
	return true;
}
}

uint8_t getSysexSubcommand1Storage(StorageLocation location)
{
	return (location == StorageLocation::ExternalLow || location == StorageLocation::ExternalHigh) ? 1 : 0;
}

uint8_t getSysexSubcommand2Storage(StorageLocation location)
{
	return (location == StorageLocation::InternalHigh || location == StorageLocation::ExternalHigh) ? SinglesHighHalf
	                                                                                                 : 0x00;
}

bool verifySingleNumberAgainstStorageLocation(StorageLocation location, uint8_t number)
{
	switch (location)
	{
	case StorageLocation::InternalLow:
	case StorageLocation::ExternalLow:
		if (number >= 32)
		{
			ZENT_LOG("If single number is >= 32, storage location needs to be i or e");
			return false;
		}
		return true;
	case StorageLocation::InternalHigh:
	case StorageLocation::ExternalHigh:
		if (number < 32)
		{
			ZENT_LOG("If single number is < 32, storage location needs to be I or E");
			return false;
		}
		return true;
	}
	return true;
}

size_t writeHeader(std::vector<uint8_t>& out, uint8_t channel, uint8_t function)
{
	// Callers size the message first; a vector too short for the header grows instead of being
	// written past its end.
	if (out.size() < HeaderSize)
		out.resize(HeaderSize);
	out[0] = SysexStart;
	out[1] = ManufacturerId;
	out[2] = channel;
	out[3] = function;
	out[4] = SynthesizerGroup;
	out[5] = MachineId;
	return HeaderSize;
}

// A check that needs a byte the message does not have rejects it without a message: such spans
// are fragments, not messages of this protocol.
bool Sysex::readSysex(SysexResult& result, const uint8_t* message, size_t length, uint8_t channelFilter)
{
	auto has = [length](size_t index) { return index < length; };

	if (!has(0))
		return false;
	if (message[0] != SysexStart)
	{
		ZENT_LOG("Not a sysex message");
		return false;
	}
	if (!has(1))
		return false;
	if (message[1] != ManufacturerId)
	{
		ZENT_LOG("Sysex from wrong manufacturer");
		return false;
	}
	if (!has(2))
		return false;
	const uint8_t channel = message[2];
	if (channel >= ChannelCount)
	{
		ZENT_LOG("Invalid channel number " << num(channel) << ", expected 0-15");
		return false;
	}
	if (channelFilter < ChannelCount && channel != channelFilter)
	{
		ZENT_LOG("Skipping read, expected channel " << num(channelFilter) << " but sysex has " << num(channel));
		return false;
	}

	if (!has(3))
		return false;
	const uint8_t function = message[3];
	const bool takenKind = function == OneRequest || function == ParameterChangeFunction || function == OneDump ||
	                       function == BlockDump || function == MachineIdRequestFunction;
	const uint8_t s1 = has(6) ? message[6] : 0;
	const uint8_t s2 = has(7) ? message[7] : 0;
	if (function == MachineIdRequestFunction)
	{
		if (!hasItsLength(function, s2, length))
			return false;
		result.channel = channel;
		result.machineIdRequest = true;
		return true;
	}

	if (!hasOnlyDataBytes(message, length))
		return false;

	// Group and machine ID come before the length, so that another machine's message, whatever its
	// length, is told as another machine's. One too short to name its machine is nobody else's: the
	// closing F7 would be taken for the group or the machine.
	if (takenKind && length <= HeaderSize && !hasItsLength(function, s2, length))
		return false;
	if (!has(4))
		return false;
	if (message[4] != SynthesizerGroup)
	{
		ZENT_LOG("Expected group to be 0x00 (Synthesizer group) but got " << num(message[4]));
		return false;
	}
	if (!has(5))
		return false;
	if (message[5] != MachineId)
	{
		ZENT_LOG("Expected machine ID to be 0x03 but got " << num(message[5]));
		return false;
	}

	if (function == OneRequest)
	{
		if (!hasItsLength(function, s2, length))
			return false;
		result.channel = channel;
		if (s2 < MultiBlock)
			result.singleRequests.push_back(size_t{s1} * 64 + s2);
		else
			result.multiRequests.push_back(size_t{s1} * 32 + s2);
		return true;
	}
	if (function == ParameterChangeFunction)
	{
		if (!hasItsLength(function, s2, length))
			return false;
		result.channel = channel;
		SysexResult::ParameterChange change;
		change.cursor = s1;
		change.source = static_cast<uint8_t>((s2 >> 1) & 3);
		change.value = static_cast<uint8_t>((s2 & 1) << 7 | (message[8] & 0x7F));
		result.parameterChanges.push_back(change);
		return true;
	}
	if (function != OneDump && function != BlockDump)
	{
		ZENT_LOG("Invalid function, expected all block data dump (21h) or single block data dump (20h) but got "
		         << num(function));
		return false;
	}

	if (s1 > 1)
	{
		ZENT_LOG("Expected subcommand 1 to be 0=intern or 1=extern but got " << num(s1));
		return false;
	}
	if (function == BlockDump && s2 != 0x00 && s2 != SinglesHighHalf && s2 != MultiBlock)
	{
		ZENT_LOG("Invalid subcommand 2, needs to be 00h, 20h or 40h but got " << num(s2));
		return false;
	}
	if (!hasItsLength(function, s2, length))
		return false;

	if (function == BlockDump && s2 == MultiBlock)
	{
		result.channel = channel;
		result.location = size_t{s1} * 64 + s2;
		for (size_t k = 0; k < BlockSize; ++k)
		{
			MultiPreset multi{};
			if (!readMulti(multi, message + RecordStart + k * MultiRecordSize))
				return false;
			result.multis.push_back(multi);
		}
		return true;
	}

	// Record k lands on single number s2 + k of the memory; none may lie beyond it.
	const size_t records = function == BlockDump ? BlockSize : 1;
	if (const size_t last = s2 + records - 1; last >= SinglesPerMemory)
	{
		ZENT_LOG("Invalid single number " << last << ", expected 0-63");
		return false;
	}
	result.channel = channel;
	result.location = size_t{s1} * 64 + s2;
	for (size_t k = 0; k < records; ++k)
	{
		SinglePreset single{};
		if (!readSingle(single, message + RecordStart + k * SingleRecordSize))
			return false;
		result.singles.push_back(single);
	}
	return true;
}

size_t Sysex::messageLength(uint8_t function, uint8_t subcommand2)
{
	return kindOf(function, subcommand2).length;
}

Sysex::Span Sysex::findSpan(const std::vector<uint8_t>& bytes, size_t from)
{
	const auto start = std::find(bytes.begin() + static_cast<std::ptrdiff_t>(std::min(from, bytes.size())), bytes.end(),
	                             SysexStart);
	if (start == bytes.end())
		return {};
	const auto end = std::find_if(start + 1, bytes.end(), [](uint8_t b) { return b == SysexEnd || b == SysexStart; });
	const bool whole = end != bytes.end() && *end == SysexEnd;
	return {static_cast<size_t>(start - bytes.begin()), static_cast<size_t>(end - start) + (whole ? 1 : 0), whole};
}

bool Sysex::readBuffer(SysexResult& result, const std::vector<uint8_t>& bytes, uint8_t channelFilter)
{
	bool anyRead = false;
	for (Span span = findSpan(bytes, 0); span.length > 0; span = findSpan(bytes, span.start + span.length))
	{
		if (!span.whole)
		{
			ZENT_LOG("Skipping sysex message at byte " << span.start << ", cut short after " << span.length
			                                           << " bytes: no F7 before "
			                                           << (span.start + span.length == bytes.size() ? "the end of the data"
			                                                                                        : "the next F0"));
			continue;
		}
		if (readSysex(result, bytes.data() + span.start, span.length, channelFilter))
			anyRead = true;
	}
	return anyRead;
}

// The size found by seeking only tells how much to expect: the bytes are read until the end, so
// a stream whose size cannot be trusted costs no allocation beyond what it really holds, and a
// read that falls short of the size fails instead of handing back a zero-padded image.
bool Sysex::readFile(std::vector<uint8_t>& out, const std::string& path)
{
	std::FILE* file = std::fopen(path.c_str(), "rb");
	if (!file)
	{
		ZENT_LOG("Failed to open file " << path);
		return false;
	}

	long size = -1;
	if (std::fseek(file, 0, SEEK_END) == 0)
		size = std::ftell(file);
	if (size >= 0 && std::fseek(file, 0, SEEK_SET) != 0)
		size = -1;

	constexpr long ReserveLimit = 1 << 24;
	const size_t expected = static_cast<size_t>(size);
	std::vector<uint8_t> bytes;
	if (size >= 0)
	{
		bytes.reserve(static_cast<size_t>(std::min(size, ReserveLimit)));
		uint8_t chunk[65536];
		size_t got;
		while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0)
		{
			if (bytes.size() + got > expected)
				break;
			bytes.insert(bytes.end(), chunk, chunk + got);
		}
	}
	const bool complete = size >= 0 && !std::ferror(file) && bytes.size() == expected;
	std::fclose(file);

	if (!complete)
	{
		ZENT_LOG("Failed to read file " << path);
		return false;
	}
	out = std::move(bytes);
	return true;
}

bool Sysex::readFile(SysexResult& result, const std::string& path, uint8_t channelFilter)
{
	std::vector<uint8_t> bytes;
	if (!readFile(bytes, path) || bytes.empty())
		return false;
	return readBuffer(result, bytes, channelFilter);
}

bool Sysex::writeSingles(std::vector<uint8_t>& out, const std::vector<SinglePreset>& singles, uint8_t channel,
                         StorageLocation location, uint8_t number)
{
	if (singles.size() > BlockSize)
	{
		ZENT_LOG("Too many singles for one command");
		return false;
	}
	if (singles.size() != 1 && singles.size() != BlockSize)
	{
		ZENT_LOG("Either decide to store 32 presets or 1 preset");
		return false;
	}

	const bool one = singles.size() == 1;
	std::vector<uint8_t> message(singles.size() * SingleRecordSize + RecordStart + 1);
	writeHeader(message, channel, one ? OneDump : BlockDump);
	message[6] = getSysexSubcommand1Storage(location);
	if (one)
	{
		if (number >= 64)
		{
			ZENT_LOG("Preset number needs to be within range 0-63");
			return false;
		}
		if (!verifySingleNumberAgainstStorageLocation(location, number))
			return false;
		message[7] = number;
	}
	else
	{
		message[7] = getSysexSubcommand2Storage(location);
	}

	for (size_t k = 0; k < singles.size(); ++k)
		zentlib::writeSingle(message.data() + RecordStart + k * SingleRecordSize, singles[k]);
	message.back() = SysexEnd;

	out = std::move(message);
	return true;
}

bool Sysex::writeSingle(std::vector<uint8_t>& out, const SinglePreset& single, uint8_t channel,
                        StorageLocation location, uint8_t number)
{
	return writeSingles(out, std::vector<SinglePreset>{single}, channel, location, number);
}

bool Sysex::writeOneSingleRequest(std::vector<uint8_t>& out, uint8_t channel, StorageLocation location,
                                  uint8_t number)
{
	if (channel >= ChannelCount)
	{
		ZENT_LOG("Channel number needs to be within range 0-15");
		return false;
	}
	if (number >= 64)
	{
		ZENT_LOG("Single number needs to be within range 0-63");
		return false;
	}
	if (!verifySingleNumberAgainstStorageLocation(location, number))
		return false;

	out.assign(9, 0);
	writeHeader(out, channel, OneRequest);
	out[6] = getSysexSubcommand1Storage(location);
	out[7] = number;
	out[8] = SysexEnd;
	return true;
}

bool Sysex::writeAllSinglesRequest(std::vector<uint8_t>& out, uint8_t channel, StorageLocation location)
{
	if (channel >= ChannelCount)
	{
		ZENT_LOG("Channel number needs to be within range 0-15");
		return false;
	}

	out.assign(9, 0);
	writeHeader(out, channel, BlockRequest);
	out[6] = getSysexSubcommand1Storage(location);
	out[7] = getSysexSubcommand2Storage(location);
	out[8] = SysexEnd;
	return true;
}

bool Sysex::writeMachineIdRequest(std::vector<uint8_t>& out, uint8_t channel)
{
	if (channel >= ChannelCount)
	{
		ZENT_LOG("Channel number needs to be within range 0-15");
		return false;
	}
	out = {SysexStart, ManufacturerId, channel, MachineIdRequestFunction, SysexEnd};
	return true;
}

void Sysex::writeMachineIdResponse(std::vector<uint8_t>& out, uint8_t channel)
{
	writeWriteResult(out, channel, MachineIdResponseFunction);
}

void Sysex::writeWriteResult(std::vector<uint8_t>& out, uint8_t channel, uint8_t code)
{
	out.assign(HeaderSize + 1, 0);
	writeHeader(out, channel, code);
	out[HeaderSize] = SysexEnd;
}

void Sysex::writeParameterChange(std::vector<uint8_t>& out, uint8_t channel, const ParameterChange& change)
{
	out.assign(10, 0);
	writeHeader(out, channel, ParameterChangeFunction);
	out[6] = change.cursor;
	out[7] = static_cast<uint8_t>((change.value >> 7) | ((change.source << 1) & 6));
	out[8] = change.value & 0x7F;
	out[9] = SysexEnd;
}

bool Sysex::convertPhmPreset(std::vector<uint8_t>& out, uint8_t channel, uint8_t number, const std::string& name,
                             const uint8_t* data, size_t size)
{
	constexpr size_t BodySize = 76;
	constexpr size_t MessageSize = 97;
	constexpr size_t RecordOffset = 8;
	constexpr size_t BodyHeadSize = 12; // record offsets 10..21, before the mute byte

	if (size != BodySize)
	{
		ZENT_LOG("Invalid PHm data size");
		return false;
	}
	if (name.size() > NameLength)
	{
		ZENT_LOG("Invalid PHm single name, max length is 10");
		return false;
	}
	if (number >= 64)
	{
		ZENT_LOG("Preset number needs to be within range 0-63");
		return false;
	}

	std::vector<uint8_t> message(MessageSize, 0);
	const uint8_t header[] = {0xF0, 0x40, channel, 0x20, 0x00, 0x03, 0x00, number};
	std::copy(std::begin(header), std::end(header), message.begin());

	uint8_t* record = message.data() + RecordOffset;
	writeName(record, name.c_str(), NameLength);
	std::copy(data, data + BodyHeadSize, record + 10);
	record[22] = 0; // no source muted
	std::copy(data + BodyHeadSize, data + BodySize, record + 23);
	record[87] = getChecksum(record, 87);
	message[MessageSize - 1] = 0xF7;

	out = std::move(message);
	return true;
}
}
