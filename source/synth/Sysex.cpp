#include "Sysex.h"

#include <algorithm>

#include "SingleRecord.h"
#include "log.h"

namespace zentlib
{
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
