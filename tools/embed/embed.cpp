// Writes a C++ source file that holds a binary file as a constant array with an accessor pair:
//   embed <input> <output.cpp> <namespace> <symbol>
// gives <namespace>::<symbol>[], <namespace>::getData_<symbol>() and <namespace>::getDataSize_<symbol>().
// The bytes are written as string-literal pieces, which compilers digest far faster than brace lists.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace
{
std::string escapeLine(const unsigned char* bytes, size_t count)
{
	std::string line = "\"";
	char octal[8];
	for (size_t i = 0; i < count; ++i)
	{
		const unsigned char c = bytes[i];
		if (c >= 0x20 && c < 0x7f && c != '\\' && c != '"' && c != '?')
		{
			line += static_cast<char>(c);
		}
		else
		{
			std::snprintf(octal, sizeof(octal), "\\%03o", c);
			line += octal;
		}
	}
	return line + "\"\n";
}
}

int main(int argc, char** argv)
{
	if (argc != 5)
	{
		std::cerr << "usage: embed <input> <output.cpp> <namespace> <symbol>\n";
		return 2;
	}
	const std::string input = argv[1], output = argv[2], ns = argv[3], symbol = argv[4];

	std::ifstream in(input, std::ios::binary);
	if (!in)
	{
		std::cerr << "embed: cannot read " << input << "\n";
		return 1;
	}
	const std::vector<unsigned char> data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

	std::string text;
	text += "// Generated from " + input + "; do not edit.\n";
	text += "#include <cstddef>\n#include <cstdint>\n\n";
	text += "namespace " + ns + "\n{\n";
	text += "extern const uint8_t " + symbol + "[];\n";
	// One byte more than the data for the literal's terminator.
	text += "alignas(16) const uint8_t " + symbol + "[" + std::to_string(data.size() + 1) + "] =\n";
	constexpr size_t bytesPerLine = 96;
	if (data.empty())
		text += "\"\"\n";
	for (size_t pos = 0; pos < data.size(); pos += bytesPerLine)
		text += escapeLine(data.data() + pos, std::min(bytesPerLine, data.size() - pos));
	text += ";\n\n";
	text += "const uint8_t* getData_" + symbol + "() { return " + symbol + "; }\n";
	text += "size_t getDataSize_" + symbol + "() { return " + std::to_string(data.size()) + "; }\n";
	text += "}\n";

	const std::string temporary = output + ".tmp";
	{
		std::ofstream out(temporary, std::ios::binary);
		out << text;
		if (!out)
		{
			std::cerr << "embed: cannot write " << temporary << "\n";
			return 1;
		}
	}
	if (std::rename(temporary.c_str(), output.c_str()) != 0)
	{
		std::cerr << "embed: cannot replace " << output << "\n";
		return 1;
	}
	return 0;
}
