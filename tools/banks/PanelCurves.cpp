#include "PanelCurves.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace banks
{
namespace
{
struct Point
{
	double x;
	double y;
};

template <size_t N>
double interpolate(const Point (&points)[N], double x)
{
	if (x <= points[0].x)
		return points[0].y;
	for (size_t i = 1; i < N; ++i)
	{
		if (x <= points[i].x)
		{
			const double t = (x - points[i - 1].x) / (points[i].x - points[i - 1].x);
			return points[i - 1].y + t * (points[i].y - points[i - 1].y);
		}
	}
	return points[N - 1].y;
}

int clampSetting(int setting)
{
	return std::min(std::max(setting, 0), 100);
}
}

double envLevelGain(double level)
{
	static const Point curve[] = {{5, 0.0},     {10, 0.0019},  {20, 0.0061}, {30, 0.0187}, {40, 0.054},
	                              {50, 0.1666}, {60, 0.2334},  {70, 0.3333}, {80, 0.4663}, {85, 0.5334},
	                              {87, 0.6664}, {90, 0.7327},  {93, 0.7995}, {97, 0.9329}, {100, 1.0}};
	return interpolate(curve, level);
}

double volumeGain(int stored)
{
	static const Point curve[] = {{0, 0.0273},  {9, 0.0378},  {19, 0.0585}, {29, 0.0920}, {39, 0.1500},
	                              {49, 0.2333}, {59, 0.3666}, {69, 0.5003}, {79, 0.6668}, {89, 0.8003},
	                              {93, 0.9334}, {99, 1.0}};
	return interpolate(curve, stored);
}

double velocityWeight(int curve, int v)
{
	auto clamp01 = [](double x) { return std::min(std::max(x, 0.0), 1.0); };
	switch (curve)
	{
	case 0: return clamp01((v - 30) / 77.0);
	case 1: return std::sqrt(clamp01((v - 21) / 86.0));
	case 2: return std::pow(clamp01((v - 35) / 72.0), 2);
	case 3: return std::pow(clamp01((v - 60) / 47.0), 3);
	case 4: return clamp01((v - 87) / 20.0);
	case 5: return (1 - std::cos(3.14159265358979 * clamp01((v - 20) / 81.0))) / 2;
	case 6:
	{
		const double t = clamp01((v - 18) / 89.0);
		return 1.78 * t - 1.78 * t * t + std::pow(t, 5);
	}
	default: return v == 0 ? 0.0 : clamp01((81 - v) / 6.0);
	}
}

double keyScale(int key, int curve)
{
	const int k = std::min(std::max(key, 36), 96);
	switch (curve)
	{
	case 0: return (k - 66) / 30.0;
	case 1: return k < 84 ? -(1 - std::pow((k - 36) / 48.0, 2)) : (k - 84) / 12.0;
	case 2: return k < 48 ? -1 + (k - 36) / 12.0 : std::sqrt((k - 48) / 48.0);
	case 3: return std::min(std::max((k - 66) / 12.0, -1.0), 1.0);
	default: return k < 66 ? -1.0 : 1.0;
	}
}

double delaySeconds(int setting)
{
	static const Point curve[] = {{0, 0.0}, {15, 0.062}, {50, 0.29483}, {75, 1.19902}, {100, 12.0276}};
	return interpolate(curve, clampSetting(setting));
}

double attackSeconds(int setting)
{
	static const double early[] = {0.0015, 0.002, 0.003, 0.004, 0.005, 0.007, 0.009, 0.012, 0.016,
	                               0.02,   0.026, 0.033, 0.038, 0.045, 0.051, 0.057, 0.063, 0.07,
	                               0.076,  0.083, 0.09,  0.099, 0.109, 0.121, 0.134, 0.149, 0.17};
	const int s = clampSetting(setting);
	if (s < 8)
		return s / 7000.0;
	if (s < 35)
		return early[s - 8];
	double seconds = 0.212;
	for (int i = 35; i < s; ++i)
		seconds *= 1.0809864;
	return seconds;
}

double decaySeconds(int setting)
{
	static const double table[101] = {
		0.00364583, 0.01,  0.01,   0.014,  0.015, 0.016,  0.019,  0.02,   0.023,  0.026,  0.028,  0.03,   0.037,
		0.044,      0.046, 0.057,  0.065,  0.084, 0.101,  0.116,  0.14,   0.16,   0.171,  0.175,  0.189,  0.2,
		0.223,      0.254, 0.262,  0.311,  0.316, 0.324,  0.31,   0.38,   0.46,   0.48,   0.539,  0.6,    0.652,
		0.683,      0.699, 0.741,  0.776,  0.866, 0.926,  0.972,  1.058,  1.061,  1.109,  1.306,  1.406,  1.467,
		1.612,      1.723, 1.856,  1.887,  2.105, 2.179,  2.271,  2.531,  2.613,  2.703,  2.941,  3.094,  3.214,
		3.525,      3.623, 3.948,  4.26,   4.808, 5.109,  5.33,   5.816,  6.305,  6.787,  7.495,  8.556,  9.109,
		9.817,      10.42, 11.04,  12.177, 13.138, 13.98, 15.4,   17,     18.5,   19.778, 20.427, 22,     23.553,
		25.607,     28.5,  30.9,   35,     39.6,  46.128, 55.4,   70,     96.6,   164.2};
	return table[clampSetting(setting)];
}

double sustainGain(int setting)
{
	static const Point curve[] = {{0, 0.00298}, {1, 0.00595}, {10, 0.0115}, {20, 0.021}, {30, 0.0415}, {40, 0.0836},
	                              {50, 0.1666}, {60, 0.2326}, {70, 0.34},   {80, 0.4764}, {87, 0.6632}, {90, 0.7545},
	                              {93, 0.7972}, {97, 0.933},  {100, 1.0}};
	return interpolate(curve, clampSetting(setting));
}
}
