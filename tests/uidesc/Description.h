#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The embedded UI description read back with expat into a plain element tree, and helpers over its
// view tree for the checks.
namespace uidesctest
{
struct Element
{
	std::string tag;
	std::vector<std::pair<std::string, std::string>> attributes;  // in file order
	std::string text;  // character data, CDATA included
	std::vector<std::unique_ptr<Element>> children;
	Element* parent = nullptr;

	bool has(const std::string& key) const;
	// The attribute's value, or "" when absent.
	const std::string& get(const std::string& key) const;
	std::string name() const { return get("custom-view-name"); }
	std::string cls() const { return get("class"); }
};

struct Box
{
	double x, y, w, h;
};

// The embedded description, parsed once; fails the test run when it is not well-formed.
const Element& description();
const std::string& rawDescription();
const Element& templateElement();

// Every view element under the template, depth first, parents before children.
std::vector<const Element*> allViews();
// Views with the given custom-view-name, in tree order.
std::vector<const Element*> viewsNamed(const std::string& name);
const Element* viewNamed(const std::string& name);

// "x, y" into two numbers.
std::pair<double, double> parsePair(const std::string& text);
Box localBox(const Element& view);
// The view's rectangle in template coordinates.
Box templateBox(const Element& view);

// A bitmap's PNG bytes, decoded from its base64 data.
std::vector<uint8_t> bitmapPng(const std::string& name);
struct Image
{
	int width = 0, height = 0;
	std::vector<uint8_t> rgba;
};
Image decodePng(const std::vector<uint8_t>& png);
}
