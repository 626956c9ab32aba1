#pragma once

#include <cstddef>
#include <cstdint>

// The editor's UI description (UTF-8 XML with every bitmap inside), constant for the program's life.
namespace zenteditor
{
const uint8_t* getData_uiXml();
size_t getDataSize_uiXml();
}
