#pragma once

#include <cstddef>
#include <cstdint>

// The factory data carried inside the program: the twelve factory banks as SysEx images and the
// wave ROM as a WAV image. Every image is constant and lives as long as the program.
namespace zentdata
{
const uint8_t* getData_sysex_R301();
size_t getDataSize_sysex_R301();
const uint8_t* getData_sysex_R302();
size_t getDataSize_sysex_R302();
const uint8_t* getData_sysex_R303();
size_t getDataSize_sysex_R303();
const uint8_t* getData_sysex_R304();
size_t getDataSize_sysex_R304();
const uint8_t* getData_sysex_R305();
size_t getDataSize_sysex_R305();
const uint8_t* getData_sysex_R400();
size_t getDataSize_sysex_R400();
const uint8_t* getData_sysex_S301();
size_t getDataSize_sysex_S301();
const uint8_t* getData_sysex_S302();
size_t getDataSize_sysex_S302();
const uint8_t* getData_sysex_T301();
size_t getDataSize_sysex_T301();
const uint8_t* getData_sysex_T302();
size_t getDataSize_sysex_T302();
const uint8_t* getData_sysex_T303();
size_t getDataSize_sysex_T303();
const uint8_t* getData_sysex_ZENTINT();
size_t getDataSize_sysex_ZENTINT();

const uint8_t* getData_waverom();
size_t getDataSize_waverom();
}
