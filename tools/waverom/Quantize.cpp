#include "Quantize.h"

#include "DetMath.h"

namespace waverom
{
uint8_t toByte(double x)
{
	int64_t v = roundDet(x * 128.0);
	if (v > 127)
		v = 127;
	if (v < -127)
		v = -127;
	return static_cast<uint8_t>(128 + v);
}

void normalise(std::vector<double>& x, double peak)
{
	double max = 0.0;
	for (double v : x)
		max = v > max ? v : (-v > max ? -v : max);
	if (max <= 0.0)
		return;
	const double g = peak / max;
	for (double& v : x)
		v *= g;
}
}
