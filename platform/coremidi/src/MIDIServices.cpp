#include <CoreMIDI/MIDIServices.h>

#include <cstddef>
#include <cstring>

static_assert(offsetof(MIDIPacketList, packet) == 4, "MIDIPacketList must be packed to 4 bytes");
static_assert(sizeof(MIDIPacket) == 268 && sizeof(MIDIPacketList) == 272, "MIDIPacket layout");

namespace
{
bool isSysExByte(Byte b)
{
	return b == 0xF0 || b == 0xF7 || b < 0x80; // a SysEx start, its end or a continuation chunk
}
}

MIDIPacket* MIDIPacketListInit(MIDIPacketList* pktlist)
{
	pktlist->numPackets = 0;
	return &pktlist->packet[0];
}

MIDIPacket* MIDIPacketListAdd(MIDIPacketList* pktlist, ByteCount listSize, MIDIPacket* curPacket, MIDITimeStamp time,
	ByteCount nData, const Byte* data)
{
	if (!pktlist || !curPacket || (nData > 0 && !data) || nData > 65535)
		return nullptr;
	auto* base = reinterpret_cast<Byte*>(pktlist);
	const auto end = base + listSize;
	// Events at the same time share a packet unless either side is SysEx, which always stands alone.
	if (pktlist->numPackets > 0 && curPacket->timeStamp == time && nData > 0 && curPacket->length > 0 &&
		!isSysExByte(curPacket->data[0]) && !isSysExByte(data[0]) && curPacket->length + nData <= 65535)
	{
		Byte* at = &curPacket->data[curPacket->length];
		if (at + nData > end)
			return nullptr;
		std::memcpy(at, data, nData);
		curPacket->length = UInt16(curPacket->length + nData);
		return curPacket;
	}
	MIDIPacket* next = pktlist->numPackets == 0 ? curPacket : MIDIPacketNext(curPacket);
	if (reinterpret_cast<Byte*>(next) + offsetof(MIDIPacket, data) + nData > end)
		return nullptr;
	next->timeStamp = time;
	next->length = UInt16(nData);
	if (nData > 0)
		std::memcpy(next->data, data, nData);
	++pktlist->numPackets;
	return next;
}
