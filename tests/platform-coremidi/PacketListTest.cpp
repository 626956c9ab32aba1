#include <CoreMIDI/CoreMIDI.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

TEST(PacketList, LayoutIsPackedToFourBytes)
{
	EXPECT_EQ(offsetof(MIDIPacket, length), 8u);
	EXPECT_EQ(offsetof(MIDIPacket, data), 10u);
	EXPECT_EQ(offsetof(MIDIPacketList, packet), 4u);
	EXPECT_EQ(sizeof(MIDIPacket), 268u);
	EXPECT_EQ(sizeof(MIDIPacketList), 272u);
}

TEST(PacketList, InitEmptiesTheListAndHandsOutTheFirstPacket)
{
	MIDIPacketList list;
	list.numPackets = 9;
	EXPECT_EQ(MIDIPacketListInit(&list), &list.packet[0]);
	EXPECT_EQ(list.numPackets, 0u);
}

TEST(PacketList, SameTimeShortMessagesShareAPacketAndSysExStandsAlone)
{
	std::vector<Byte> storage(1024);
	auto* list = reinterpret_cast<MIDIPacketList*>(storage.data());
	MIDIPacket* p = MIDIPacketListInit(list);
	const Byte noteOn[] = {0x90, 60, 100}, noteOff[] = {0x80, 60, 0};
	const Byte sysex[] = {0xF0, 0x40, 0x00, 0x03, 0xF7};
	p = MIDIPacketListAdd(list, storage.size(), p, 10, 3, noteOn);
	p = MIDIPacketListAdd(list, storage.size(), p, 10, 3, noteOff);
	ASSERT_NE(p, nullptr);
	EXPECT_EQ(list->numPackets, 1u);
	EXPECT_EQ(list->packet[0].length, 6);
	p = MIDIPacketListAdd(list, storage.size(), p, 10, sizeof sysex, sysex);
	p = MIDIPacketListAdd(list, storage.size(), p, 20, 3, noteOn);
	ASSERT_NE(p, nullptr);
	EXPECT_EQ(list->numPackets, 3u);
	const MIDIPacket* second = MIDIPacketNext(&list->packet[0]);
	EXPECT_EQ(second->length, 5);
	EXPECT_EQ(second->data[4], 0xF7);
	const MIDIPacket* third = MIDIPacketNext(second);
	const MIDITimeStamp thirdTime = third->timeStamp;
	EXPECT_EQ(thirdTime, 20u);
	EXPECT_EQ(third, p);
}

TEST(PacketList, AnEventThatDoesNotFitIsRefused)
{
	std::vector<Byte> storage(sizeof(UInt32) + offsetof(MIDIPacket, data) + 4);
	auto* list = reinterpret_cast<MIDIPacketList*>(storage.data());
	MIDIPacket* p = MIDIPacketListInit(list);
	const Byte five[] = {0xF0, 1, 2, 3, 0xF7};
	EXPECT_EQ(MIDIPacketListAdd(list, storage.size(), p, 0, 5, five), nullptr);
	EXPECT_EQ(list->numPackets, 0u);
	EXPECT_NE(MIDIPacketListAdd(list, storage.size(), p, 0, 4, five), nullptr);
}
