#pragma once

#include <cstdint>

#include "vstgui/uidescription/xmlparser.h"

// Hands the embedded UI description to the toolkit's parser piece by piece, straight from memory.
class XmlContentProvider : public VSTGUI::Xml::IContentProvider
{
public:
	int32_t readRawXmlData(int8_t* buffer, uint32_t size) override;
	void rewind() override;
	virtual ~XmlContentProvider() = default;

private:
	uint64_t m_position = 0;
};
