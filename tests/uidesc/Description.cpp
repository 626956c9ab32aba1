#include "Description.h"

#include "Base64.h"
#include "editor/resources/EditorResources.h"

#include <expat.h>
#include <png.h>

#include <cstdlib>
#include <stdexcept>

namespace uidesctest
{
namespace
{
struct Builder
{
	std::unique_ptr<Element> root;
	Element* current = nullptr;
};

void onStart(void* data, const XML_Char* tag, const XML_Char** attributes)
{
	auto* b = static_cast<Builder*>(data);
	auto element = std::make_unique<Element>();
	element->tag = tag;
	for (size_t i = 0; attributes[i]; i += 2)
		element->attributes.emplace_back(attributes[i], attributes[i + 1]);
	Element* raw = element.get();
	if (!b->current)
	{
		b->root = std::move(element);
	}
	else
	{
		raw->parent = b->current;
		b->current->children.push_back(std::move(element));
	}
	b->current = raw;
}

void onEnd(void* data, const XML_Char*)
{
	auto* b = static_cast<Builder*>(data);
	b->current = b->current->parent;
}

void onText(void* data, const XML_Char* text, int length)
{
	auto* b = static_cast<Builder*>(data);
	if (b->current)
		b->current->text.append(text, size_t(length));
}

std::unique_ptr<Element> parse(const std::string& bytes)
{
	Builder b;
	XML_Parser parser = XML_ParserCreate(nullptr);
	XML_SetUserData(parser, &b);
	XML_SetElementHandler(parser, onStart, onEnd);
	XML_SetCharacterDataHandler(parser, onText);
	const bool ok = XML_Parse(parser, bytes.data(), int(bytes.size()), 1) == XML_STATUS_OK;
	const std::string error = ok ? "" : XML_ErrorString(XML_GetErrorCode(parser));
	XML_ParserFree(parser);
	if (!ok)
		throw std::runtime_error("the description is not well-formed: " + error);
	return std::move(b.root);
}

void collect(const Element& e, std::vector<const Element*>& out)
{
	for (const auto& child : e.children)
	{
		if (child->tag == "view")
		{
			out.push_back(child.get());
			collect(*child, out);
		}
	}
}
}

bool Element::has(const std::string& key) const
{
	for (const auto& [k, v] : attributes)
		if (k == key)
			return true;
	return false;
}

const std::string& Element::get(const std::string& key) const
{
	static const std::string none;
	for (const auto& [k, v] : attributes)
		if (k == key)
			return v;
	return none;
}

const std::string& rawDescription()
{
	static const std::string bytes(reinterpret_cast<const char*>(zenteditor::getData_uiXml()),
		zenteditor::getDataSize_uiXml());
	return bytes;
}

const Element& description()
{
	static const std::unique_ptr<Element> root = parse(rawDescription());
	return *root;
}

const Element& templateElement()
{
	for (const auto& child : description().children)
		if (child->tag == "template")
			return *child;
	throw std::runtime_error("no template");
}

std::vector<const Element*> allViews()
{
	std::vector<const Element*> out;
	collect(templateElement(), out);
	return out;
}

std::vector<const Element*> viewsNamed(const std::string& name)
{
	std::vector<const Element*> out;
	for (const Element* v : allViews())
		if (v->name() == name)
			out.push_back(v);
	return out;
}

const Element* viewNamed(const std::string& name)
{
	const auto views = viewsNamed(name);
	return views.empty() ? nullptr : views.front();
}

std::pair<double, double> parsePair(const std::string& text)
{
	char* end = nullptr;
	const double a = std::strtod(text.c_str(), &end);
	if (*end != ',')
		throw std::runtime_error("not a pair: " + text);
	const double b = std::strtod(end + 1, &end);
	if (*end != 0)
		throw std::runtime_error("not a pair: " + text);
	return {a, b};
}

Box localBox(const Element& view)
{
	const auto [x, y] = parsePair(view.get("origin"));
	const auto [w, h] = parsePair(view.get("size"));
	return {x, y, w, h};
}

Box templateBox(const Element& view)
{
	Box b = localBox(view);
	for (const Element* p = view.parent; p && p->tag == "view"; p = p->parent)
	{
		const Box pb = localBox(*p);
		b.x += pb.x;
		b.y += pb.y;
	}
	return b;
}

std::vector<uint8_t> bitmapPng(const std::string& name)
{
	for (const auto& section : description().children)
	{
		if (section->tag != "bitmaps")
			continue;
		for (const auto& bitmap : section->children)
		{
			if (bitmap->get("name") == name && !bitmap->children.empty())
			{
				auto bytes = uidesc::base64Decode(bitmap->children.front()->text);
				if (!bytes)
					throw std::runtime_error("bad base64 in bitmap " + name);
				return *bytes;
			}
		}
	}
	throw std::runtime_error("no bitmap " + name);
}

Image decodePng(const std::vector<uint8_t>& png)
{
	png_image image{};
	image.version = PNG_IMAGE_VERSION;
	if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
		throw std::runtime_error("not a PNG file");
	image.format = PNG_FORMAT_RGBA;
	Image out;
	out.width = int(image.width);
	out.height = int(image.height);
	out.rgba.resize(PNG_IMAGE_SIZE(image));
	if (!png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr))
		throw std::runtime_error("cannot decode a PNG file");
	return out;
}
}
