#include "XmlContentProvider.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "editor/resources/EditorResources.h"

int32_t XmlContentProvider::readRawXmlData(int8_t* buffer, uint32_t size)
{
	const uint64_t total = zenteditor::getDataSize_uiXml();
	if (m_position >= total)
		return 0;
	const uint64_t count =
	    std::min<uint64_t>({total - m_position, size, uint64_t(std::numeric_limits<int32_t>::max())});
	std::memcpy(buffer, zenteditor::getData_uiXml() + m_position, count);
	m_position += count;
	return static_cast<int32_t>(count);
}

void XmlContentProvider::rewind()
{
	m_position = 0;
}
