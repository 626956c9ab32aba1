#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "MultiPreset.h"
#include "SingleRecord.h"
#include "SinglePreset.h"
#include "StorageLocation.h"

namespace zentlib
{
// Sub-command 1 of a request or dump: 0 internal memory, 1 external memory.
uint8_t getSysexSubcommand1Storage(StorageLocation location);
// Sub-command 2 of a block dump: 0x00 for singles 0-31, 0x20 for singles 32-63.
uint8_t getSysexSubcommand2Storage(StorageLocation location);
// A single number addresses the half its location names: 0-31 for I/E, 32-63 for i/e.
bool verifySingleNumberAgainstStorageLocation(StorageLocation location, uint8_t number);
// Writes F0 40 channel function 00 03 over the first six bytes of out (grown to six if shorter)
// and returns that count.
size_t writeHeader(std::vector<uint8_t>& out, uint8_t channel, uint8_t function);

// The emulated hardware's SysEx protocol. Every operation is static and keeps no state; failures
// are a false result and one log line, and writers replace the whole content of the output vector.
class Sysex
{
public:
	// What the reader collected. It only ever appends and overwrites, so one result can gather a
	// whole buffer or file.
	struct SysexResult
	{
		struct ParameterChange
		{
			uint8_t cursor = 0;
			uint8_t source = 0; // 0..3
			uint8_t value = 0;

			bool operator==(const ParameterChange&) const = default;
		};

		std::vector<SinglePreset> singles;
		std::vector<MultiPreset> multis;
		std::vector<size_t> singleRequests; // s1 * 64 + s2
		std::vector<size_t> multiRequests;  // s1 * 32 + s2, s2 still carrying its 0x40 offset
		size_t location = 0;                // s1 * 64 + s2 of the last dump
		std::vector<ParameterChange> parameterChanges;
		uint8_t channel = 0; // of the last message read
		bool machineIdRequest = false;
	};
	using ParameterChange = SysexResult::ParameterChange;

	// A stretch of a buffer from an F0: whole when its F7 closes it, cut when the next F0 (the start of the
	// next message, as a status byte ends any message) or the end of the buffer comes first.
	struct Span
	{
		size_t start = 0;
		size_t length = 0; // F0 to F7, both included, for a whole span; 0 when there is no span
		bool whole = false;
	};
	// The span that starts at the first F0 at or after `from`.
	static Span findSpan(const std::vector<uint8_t>& bytes, size_t from);

	// A channelFilter of 0..15 accepts only that channel, anything above accepts every channel. Each kind
	// of message is read only at its own length. A message refused by its header or its length leaves the
	// result as it was; a damaged record ends a dump with the records before it kept.
	static bool readSysex(SysexResult& result, const uint8_t* message, size_t length, uint8_t channelFilter);
	// Reads every whole span of bytes and refuses every cut one with a log line; true when at least one
	// span was understood.
	static bool readBuffer(SysexResult& result, const std::vector<uint8_t>& bytes, uint8_t channelFilter);
	// The length of a message of this protocol by its function (and, for a block dump, by what it holds), F0
	// and F7 included; 0 for a function the protocol does not have.
	static size_t messageLength(uint8_t function, uint8_t subcommand2);
	// The raw bytes of a file.
	static bool readFile(std::vector<uint8_t>& out, const std::string& path);
	// Every message of a file, as readBuffer reads them.
	static bool readFile(SysexResult& result, const std::string& path, uint8_t channelFilter);

	// One single (number addresses it) or a block of 32 (number is not used).
	static bool writeSingles(std::vector<uint8_t>& out, const std::vector<SinglePreset>& singles, uint8_t channel,
	                         StorageLocation location, uint8_t number);
	static bool writeSingle(std::vector<uint8_t>& out, const SinglePreset& single, uint8_t channel,
	                        StorageLocation location, uint8_t number);
	static bool writeOneSingleRequest(std::vector<uint8_t>& out, uint8_t channel, StorageLocation location,
	                                  uint8_t number);
	static bool writeAllSinglesRequest(std::vector<uint8_t>& out, uint8_t channel, StorageLocation location);
	static bool writeMachineIdRequest(std::vector<uint8_t>& out, uint8_t channel);
	static void writeMachineIdResponse(std::vector<uint8_t>& out, uint8_t channel);
	// code: 0x40 stored, 0x41 storing failed, 0x42 not supported.
	static void writeWriteResult(std::vector<uint8_t>& out, uint8_t channel, uint8_t code);
	static void writeParameterChange(std::vector<uint8_t>& out, uint8_t channel, const ParameterChange& change);

	// Wraps a 76-byte single body (a single record without name, mute byte and checksum) in a
	// one-single dump to internal memory.
	static bool convertPhmPreset(std::vector<uint8_t>& out, uint8_t channel, uint8_t number, const std::string& name,
	                             const uint8_t* data, size_t size);
};
}
