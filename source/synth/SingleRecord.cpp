#include "SingleRecord.h"

#include <algorithm>
#include <cstring>

#include "log.h"

namespace zentlib
{
namespace
{
constexpr size_t SingleChecksumOffset = 87;
constexpr size_t MultiChecksumOffset = 75;
constexpr size_t SourceFieldsOffset = 23;
constexpr int SourceFieldCount = 16;

// Source field f of source s sits at 23 + 4f + s: the four sources are interleaved field by field.
constexpr size_t sourceFieldOffset(int field, int source)
{
	return SourceFieldsOffset + 4 * field + source;
}

// Reads the 10-character field into an all-zero 11-character name.
void readNameField(char (&name)[NameLength + 1], const uint8_t* record)
{
	readName(name, record, NameLength);
}
}

uint8_t getChecksum(const uint8_t* data, size_t length)
{
	unsigned int sum = 0xA5;
	for (size_t i = 0; i < length; ++i)
		sum += data[i];
	return static_cast<uint8_t>(sum & 0x7F);
}

bool readName(char* dst, const uint8_t* src, size_t len)
{
	std::memset(dst, 0, len + 1);
	for (size_t i = 0; i < len; ++i)
	{
		dst[i] = static_cast<char>(src[i]);
		if (src[i] == 0)
			break;
	}
	for (size_t i = len; i-- > 0;)
	{
		if (dst[i] != ' ')
			break;
		dst[i] = 0;
	}
	return dst[0] != 0;
}

void writeName(uint8_t* dst, const char* src, size_t len)
{
	std::memset(dst, ' ', len);
	for (size_t i = 0; i < len && src[i] != 0; ++i)
		dst[i] = static_cast<uint8_t>(src[i]);
}

bool readSingle(SinglePreset& out, const uint8_t* record)
{
	if (const uint8_t expected = getChecksum(record, SingleChecksumOffset); expected != record[SingleChecksumOffset])
	{
		ZENT_LOG("Invalid checksum, expected " << int(expected) << " but got " << int(record[SingleChecksumOffset]));
		return false;
	}

	readNameField(out.name, record);

	out.volume = record[10];
	out.polyMode = record[11] & 0x03;
	out.source2or4 = (record[11] >> 2) & 0x01;
	out.ampModS1S2 = (record[11] >> 3) & 0x03;
	out.ampModS3S4 = (record[11] >> 5) & 0x03;
	out.pressureToFreq = record[12];
	out.vibratoDepth = record[13];
	out.pressureToVibrato = record[14];

	out.pitchBendDepth = record[15] & 0x0F;
	if (out.pitchBendDepth >= 13)
	{
		ZENT_LOG("Invalid pitch bend range, valid is 0-12 but got " << out.pitchBendDepth);
		return false;
	}

	out.lfoSpeed = record[16];
	out.lfoShape = record[17] & 0x03;
	out.keyScaleCurve = (record[17] >> 2) & 0x07;
	out.vibWheelMode = (record[17] >> 5) & 0x03;
	if (out.vibWheelMode >= 2)
	{
		ZENT_LOG("Invalid vibrato wheel mode, needs to be 0 or 1 but got " << out.vibWheelMode);
		out.vibWheelMode &= 1;
	}

	out.autoBendDepth = record[18];
	out.autoBendTime = record[19];
	out.velToDepth = record[20];
	out.autoBendKeyScaleToTime = record[21];

	if (record[22] >= 16)
	{
		ZENT_LOG("Invalid sources mute flags, allowed are 0000xxxx but got " << int(record[22]));
		return false;
	}
	for (int i = 0; i < 4; ++i)
		out.mute[i] = (record[22] >> i) & 1;

	for (int s = 0; s < 4; ++s)
	{
		uint8_t f[SourceFieldCount];
		for (int field = 0; field < SourceFieldCount; ++field)
			f[field] = record[sourceFieldOffset(field, s)];

		SingleSource& src = out.sources[s];
		src.fine = f[0];
		src.coarse = f[1];
		src.wave = static_cast<uint8_t>(f[2] | (f[3] & 0x01) << 7);
		src.keyTrack = (f[3] >> 1) & 1;
		src.vibABend = (f[3] >> 2) & 1;
		src.pressureToFreq = (f[3] >> 3) & 1;
		src.velCurve = (f[3] >> 4) & 0x07;
		src.envLevel = f[4];
		src.envDelay = f[5];
		src.envAttack = f[6];
		src.envDecay = f[7];
		src.envSustain = f[8];
		src.envRelease = f[9];
		src.levelModVel = f[10];
		src.levelModPressure = f[11];
		src.levelModKeyScale = f[12];
		src.timeModVel = f[13];
		src.timeModKeyScale = f[14];
		src.freqKeyScaleToFreq = f[15];
	}
	return true;
}

bool readMulti(MultiPreset& out, const uint8_t* record)
{
	if (const uint8_t expected = getChecksum(record, MultiChecksumOffset); expected != record[MultiChecksumOffset])
	{
		ZENT_LOG("Invalid checksum, expected " << int(expected) << " but got " << int(record[MultiChecksumOffset]));
		return false;
	}

	readNameField(out.name, record);
	out.common = record[10];

	for (int k = 0; k < MultiPreset::SectionCount; ++k)
	{
		const uint8_t* b = record + 11 + 8 * k;
		int32_t* section = out.sections[k];
		section[0] = b[0] & 0x07;
		section[1] = (b[0] >> 3) & 0x07;
		section[2] = b[1];
		section[3] = b[2];
		section[4] = b[3] & 0x0F;
		section[5] = (b[3] >> 4) & 0x03;
		section[6] = 0;
		section[7] = b[4] & 0x0F;
		section[8] = (b[4] >> 4) & 0x03;
		section[9] = int32_t(b[5]) - 24;
		section[10] = int32_t(b[6]) - 50;
		section[11] = b[7];
	}
	return true;
}

bool writeSingle(uint8_t* record, const SinglePreset& in)
{
	// The name is cut at its terminator and at the field width even if a caller left no terminator.
	char name[NameLength + 1] = {};
	std::memcpy(name, in.name, NameLength);
	writeName(record, name, NameLength);

	record[10] = in.volume;
	record[11] = static_cast<uint8_t>(in.polyMode | in.source2or4 << 2 | in.ampModS1S2 << 3 | in.ampModS3S4 << 5);
	record[12] = in.pressureToFreq;
	record[13] = in.vibratoDepth;
	record[14] = in.pressureToVibrato;
	record[15] = static_cast<uint8_t>(in.pitchBendDepth);
	record[16] = in.lfoSpeed;
	record[17] = static_cast<uint8_t>(in.lfoShape | in.keyScaleCurve << 2 | in.vibWheelMode << 5);
	record[18] = in.autoBendDepth;
	record[19] = in.autoBendTime;
	record[20] = in.velToDepth;
	record[21] = in.autoBendKeyScaleToTime;
	record[22] = static_cast<uint8_t>(in.mute[0] | in.mute[1] << 1 | in.mute[2] << 2 | in.mute[3] << 3);

	for (int s = 0; s < 4; ++s)
	{
		const SingleSource& src = in.sources[s];
		const uint32_t fields[SourceFieldCount] = {
			src.fine,
			src.coarse,
			uint32_t(src.wave & 0x7F),
			uint32_t(src.wave >> 7 | src.keyTrack << 1 | src.vibABend << 2 | src.pressureToFreq << 3 | src.velCurve << 4),
			src.envLevel,
			src.envDelay,
			src.envAttack,
			src.envDecay,
			src.envSustain,
			src.envRelease,
			src.levelModVel,
			src.levelModPressure,
			src.levelModKeyScale,
			src.timeModVel,
			src.timeModKeyScale,
			src.freqKeyScaleToFreq,
		};
		for (int field = 0; field < SourceFieldCount; ++field)
			record[sourceFieldOffset(field, s)] = static_cast<uint8_t>(fields[field]);
	}

	record[SingleChecksumOffset] = getChecksum(record, SingleChecksumOffset);
	return true;
}

bool readsBack(const SinglePreset& in)
{
	uint8_t record[SingleRecordSize];
	writeSingle(record, in);
	if (std::any_of(record, record + SingleRecordSize, [](uint8_t b) { return b >= 0x80; }))
		return false;
	SinglePreset back{};
	uint8_t again[SingleRecordSize];
	return readSingle(back, record) && writeSingle(again, back) && std::equal(record, record + SingleRecordSize, again);
}
}
