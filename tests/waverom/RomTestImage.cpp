#include "RomTestImage.h"

#include <stdexcept>

#include "synth/data/zentdata.h"

const waverom::RomView& romImage()
{
	static const waverom::RomView rom = [] {
		waverom::RomView r;
		if (!r.parse(zentdata::getData_waverom(), zentdata::getDataSize_waverom()))
			throw std::runtime_error("the embedded wave ROM does not parse");
		return r;
	}();
	return rom;
}
