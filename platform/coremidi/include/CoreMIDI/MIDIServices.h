#pragma once

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

typedef UInt64 MIDITimeStamp; // 0 means now

enum
{
	kMIDIInvalidClient = -10830,
	kMIDIInvalidPort = -10831,
	kMIDIWrongEndpointType = -10832,
	kMIDINoConnection = -10833,
	kMIDIUnknownEndpoint = -10834,
	kMIDIUnknownProperty = -10835,
	kMIDIWrongPropertyType = -10836,
	kMIDINoCurrentSetup = -10837,
	kMIDIMessageSendErr = -10838,
	kMIDIServerStartErr = -10839,
	kMIDISetupFormatErr = -10840,
	kMIDIWrongThread = -10841,
	kMIDIObjectNotFound = -10842,
	kMIDIIDNotUnique = -10843
};

// Packed to 4 bytes on every architecture: packet starts at offset 4 of the list, and a packet is 268 bytes.
#pragma pack(push, 4)
struct MIDIPacket
{
	MIDITimeStamp timeStamp;
	UInt16 length;
	Byte data[256]; // may run on when the list was allocated larger
};
typedef struct MIDIPacket MIDIPacket;

struct MIDIPacketList
{
	UInt32 numPackets;
	MIDIPacket packet[1];
};
typedef struct MIDIPacketList MIDIPacketList;
#pragma pack(pop)

// The packet right after p, at the next 4-byte boundary (the ARM layout), so that every packet is properly
// aligned for its fields.
static inline MIDIPacket* MIDIPacketNext(const MIDIPacket* p)
{
	return (MIDIPacket*)(((unsigned long)&p->data[p->length] + 3) & ~(unsigned long)3);
}

MIDIPacket* MIDIPacketListInit(MIDIPacketList* pktlist);
// Appends an event; returns the packet to pass next time, or NULL when it does not fit in listSize bytes.
MIDIPacket* MIDIPacketListAdd(MIDIPacketList* pktlist, ByteCount listSize, MIDIPacket* curPacket, MIDITimeStamp time,
	ByteCount nData, const Byte* data);

CF_EXTERN_C_END
