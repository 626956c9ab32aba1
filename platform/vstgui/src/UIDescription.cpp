#include "vstgui/uidescription/uidescription.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cfont.h"
#include "vstgui/lib/controls/cbuttons.h"
#include "vstgui/lib/controls/cknob.h"
#include "vstgui/lib/controls/coptionmenu.h"
#include "vstgui/lib/controls/ctextedit.h"
#include "vstgui/lib/controls/ctextlabel.h"
#include "vstgui/lib/cview.h"
#include "vstgui/lib/cviewcontainer.h"

#include "fontcaches.h"
#include "vstguilog.h"

#include <expat.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace VSTGUI
{
int32_t Xml::MemoryContentProvider::readRawXmlData (int8_t* buffer, uint32_t bufferSize)
{
	uint32_t count = std::min (bufferSize, size - position);
	if (count)
		std::memcpy (buffer, data + position, count);
	position += count;
	return static_cast<int32_t> (count);
}

//------------------------------------------------------------------------------------------------
// The document as expat delivers it

struct UIDescription::Node
{
	std::string name;
	std::vector<std::pair<std::string, std::string>> attributes;
	std::string text;
	std::vector<std::unique_ptr<Node>> children;
	Node* parent {nullptr};

	const std::string* attribute (const char* key) const
	{
		for (const auto& [k, v] : attributes)
		{
			if (k == key)
				return &v;
		}
		return nullptr;
	}
};

namespace
{
// Deeper documents are refused: building views recurses once per level.
constexpr int kMaxDepth = 200;
constexpr uint32_t kReadChunk = 32 * 1024;

struct ParseState
{
	std::unique_ptr<UIDescription::Node> root;
	UIDescription::Node* current {nullptr};
	int depth {0};
	bool failed {false};
	XML_Parser parser {nullptr};
};

void XMLCALL startElement (void* userData, const XML_Char* name, const XML_Char** atts)
{
	auto* state = static_cast<ParseState*> (userData);
	if (++state->depth > kMaxDepth)
	{
		state->failed = true;
		XML_StopParser (state->parser, XML_FALSE);
		return;
	}
	auto node = std::make_unique<UIDescription::Node> ();
	node->name = name;
	for (int i = 0; atts[i] && atts[i + 1]; i += 2)
		node->attributes.emplace_back (atts[i], atts[i + 1]);
	node->parent = state->current;
	UIDescription::Node* raw = node.get ();
	if (state->current)
		state->current->children.push_back (std::move (node));
	else
		state->root = std::move (node);
	state->current = raw;
}

void XMLCALL endElement (void* userData, const XML_Char*)
{
	auto* state = static_cast<ParseState*> (userData);
	--state->depth;
	if (state->current)
		state->current = state->current->parent;
}

// Only printable ASCII is kept from element text, so line breaks inside base64 do no harm.
void XMLCALL characterData (void* userData, const XML_Char* s, int len)
{
	auto* state = static_cast<ParseState*> (userData);
	if (state->current == nullptr)
		return;
	std::string& text = state->current->text;
	for (int i = 0; i < len; ++i)
	{
		auto c = static_cast<unsigned char> (s[i]);
		if (c > 0x20 && c < 0x80)
			text.push_back (static_cast<char> (c));
	}
}

std::vector<uint8_t> decodeBase64 (const std::string& text)
{
	static const auto table = [] {
		std::array<int8_t, 256> t {};
		t.fill (-1);
		const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
		for (int i = 0; i < 64; ++i)
			t[static_cast<unsigned char> (alphabet[i])] = static_cast<int8_t> (i);
		return t;
	}();
	std::vector<uint8_t> out;
	out.reserve (text.size () * 3 / 4);
	uint32_t accumulator = 0;
	int bits = 0;
	for (char ch : text)
	{
		if (ch == '=')
			break;
		int8_t v = table[static_cast<unsigned char> (ch)];
		if (v < 0)
			return {};
		accumulator = (accumulator << 6) | static_cast<uint32_t> (v);
		bits += 6;
		if (bits >= 8)
		{
			bits -= 8;
			out.push_back (static_cast<uint8_t> (accumulator >> bits));
		}
	}
	return out;
}

std::string trim (const std::string& s)
{
	size_t a = s.find_first_not_of (" \t\r\n");
	if (a == std::string::npos)
		return {};
	size_t b = s.find_last_not_of (" \t\r\n");
	return s.substr (a, b - a + 1);
}

bool parseDouble (const std::string& text, double& out)
{
	std::string s = trim (text);
	if (s.empty ())
		return false;
	char* end = nullptr;
	double v = std::strtod (s.c_str (), &end);
	if (end == s.c_str () || *end != 0 || !std::isfinite (v))
		return false;
	out = v;
	return true;
}

// Digits and a sign only: "87.0" is not an integer.
bool parseInteger (const std::string& text, int32_t& out)
{
	std::string s = trim (text);
	size_t i = (!s.empty () && (s[0] == '-' || s[0] == '+')) ? 1 : 0;
	if (i >= s.size () || s.size () > 11)
		return false;
	for (size_t k = i; k < s.size (); ++k)
	{
		if (s[k] < '0' || s[k] > '9')
			return false;
	}
	long long v = std::strtoll (s.c_str (), nullptr, 10);
	if (v < INT32_MIN || v > INT32_MAX)
		return false;
	out = static_cast<int32_t> (v);
	return true;
}

// The family a font element names, or, when that one is not installed, the first installed family of its
// comma-separated alternatives; with none installed the named family stays and the font engine substitutes.
std::string installedFamily (const std::string& family, const std::string* alternatives)
{
	if (alternatives == nullptr || Detail::fontFamilyInstalled (family))
		return family;
	for (size_t start = 0; start <= alternatives->size ();)
	{
		size_t comma = alternatives->find (',', start);
		if (comma == std::string::npos)
			comma = alternatives->size ();
		const std::string alternative = trim (alternatives->substr (start, comma - start));
		if (!alternative.empty () && Detail::fontFamilyInstalled (alternative))
			return alternative;
		start = comma + 1;
	}
	return family;
}

bool parseNumbers (const std::string& text, double* out, size_t count)
{
	size_t start = 0;
	for (size_t i = 0; i < count; ++i)
	{
		size_t comma = text.find (',', start);
		if ((comma == std::string::npos) != (i == count - 1))
			return false;
		if (!parseDouble (text.substr (start, comma == std::string::npos ? std::string::npos : comma - start), out[i]))
			return false;
		start = comma + 1;
	}
	return true;
}

bool parsePoint (const std::string& text, CPoint& p)
{
	double v[2];
	if (!parseNumbers (text, v, 2))
		return false;
	p = CPoint (v[0], v[1]);
	return true;
}

bool parseBool (const std::string& text, bool& out)
{
	if (text == "true")
		out = true;
	else if (text == "false")
		out = false;
	else
		return false;
	return true;
}

bool parseHexColor (const std::string& text, CColor& color)
{
	if ((text.size () != 7 && text.size () != 9) || text[0] != '#')
		return false;
	uint8_t v[4] = {0, 0, 0, 255};
	for (size_t i = 0; i < (text.size () - 1) / 2; ++i)
	{
		char digits[3] = {text[1 + i * 2], text[2 + i * 2], 0};
		char* end = nullptr;
		long value = std::strtol (digits, &end, 16);
		if (*end != 0 || !std::isxdigit (static_cast<unsigned char> (digits[0])))
			return false;
		v[i] = static_cast<uint8_t> (value);
	}
	color = CColor (v[0], v[1], v[2], v[3]);
	return true;
}

// "name_2x.png" or "name#2.0x.png": the image holds that many pixels per point.
double scaleFactorOfPath (const std::string& path)
{
	size_t dot = path.rfind ('.');
	if (dot == std::string::npos || dot == 0 || path[dot - 1] != 'x')
		return 1.;
	size_t end = dot - 1;
	size_t start = end;
	while (start > 0 && (std::isdigit (static_cast<unsigned char> (path[start - 1])) || path[start - 1] == '.'))
		--start;
	if (start == end || start == 0 || (path[start - 1] != '#' && path[start - 1] != '_'))
		return 1.;
	double v = std::atof (path.substr (start, end - start).c_str ());
	return v > 0. ? v : 1.;
}

const std::map<std::string, CColor>& builtinColors ()
{
	static const std::map<std::string, CColor> colors = {
	    {"~ BlackCColor", kBlackCColor},       {"~ WhiteCColor", kWhiteCColor},
	    {"~ GreyCColor", kGreyCColor},         {"~ RedCColor", kRedCColor},
	    {"~ GreenCColor", kGreenCColor},       {"~ BlueCColor", kBlueCColor},
	    {"~ YellowCColor", kYellowCColor},     {"~ CyanCColor", kCyanCColor},
	    {"~ MagentaCColor", kMagentaCColor},   {"~ TransparentCColor", kTransparentCColor},
	};
	return colors;
}
}

//------------------------------------------------------------------------------------------------
// Bitmaps are decoded on first use

struct UIDescription::Bitmap
{
	std::string path;
	const Node* node {nullptr};
	SharedPointer<CBitmap> bitmap;
	bool tried {false};

	CBitmap* get ()
	{
		if (tried)
			return bitmap;
		tried = true;
		// Without a path there is no image, whatever data the element carries.
		if (path.empty ())
			return nullptr;
		bitmap = owned (new CBitmap (CResourceDescription (path.c_str ())));
		if (bitmap->isLoaded ())
			return bitmap;
		for (const auto& child : node->children)
		{
			if (child->name != "data")
				continue;
			const std::string* encoding = child->attribute ("encoding");
			if (encoding == nullptr || *encoding != "base64")
				continue;
			std::vector<uint8_t> png = decodeBase64 (child->text);
			if (auto* decoded = CBitmap::createFromPNGData (png.data (), png.size (), scaleFactorOfPath (path)))
			{
				bitmap = owned (decoded);
				return bitmap;
			}
		}
		return bitmap;
	}
};

UIDescription::UIDescription (Xml::IContentProvider* xmlContentProvider, IViewFactory*)
: contentProvider (xmlContentProvider)
{
}

UIDescription::~UIDescription () noexcept = default;

void UIDescription::clear ()
{
	root.reset ();
	bitmaps.clear ();
	fonts.clear ();
	colors.clear ();
	tags.clear ();
	variables.clear ();
	templates.clear ();
}

bool UIDescription::parse ()
{
	if (parsed)
		return true;
	if (contentProvider == nullptr)
		return false;
	ParseState state;
	XML_Parser parser = XML_ParserCreate (nullptr);
	state.parser = parser;
	XML_SetUserData (parser, &state);
	XML_SetElementHandler (parser, startElement, endElement);
	XML_SetCharacterDataHandler (parser, characterData);

	contentProvider->rewind ();
	std::vector<int8_t> buffer (kReadChunk);
	bool ok = true;
	for (;;)
	{
		int32_t count = contentProvider->readRawXmlData (buffer.data (), kReadChunk);
		if (count < 0 || static_cast<uint32_t> (count) > kReadChunk)
			count = 0;
		if (XML_Parse (parser, reinterpret_cast<const char*> (buffer.data ()), count, count == 0) != XML_STATUS_OK)
		{
			ok = false;
			break;
		}
		if (count == 0)
			break;
	}
	XML_ParserFree (parser);
	if (!ok || state.failed || !state.root)
		return false;
	root = std::move (state.root);
	if (!interpret ())
	{
		clear ();
		return false;
	}
	parsed = true;
	return true;
}

bool UIDescription::interpret ()
{
	if (root->name != "vstgui-ui-description")
		return false;
	for (const auto& section : root->children)
	{
		const std::string& kind = section->name;
		if (kind == "bitmaps")
		{
			for (const auto& n : section->children)
			{
				if (n->name != "bitmap")
					return false;
				const std::string* name = n->attribute ("name");
				if (name == nullptr)
					continue;
				auto bitmap = std::make_unique<Bitmap> ();
				if (const std::string* path = n->attribute ("path"))
					bitmap->path = *path;
				bitmap->node = n.get ();
				bitmaps[*name] = std::move (bitmap);
			}
		}
		else if (kind == "fonts")
		{
			for (const auto& n : section->children)
			{
				if (n->name != "font")
					return false;
				const std::string* name = n->attribute ("name");
				const std::string* family = n->attribute ("font-name");
				if (name == nullptr || family == nullptr)
					continue;
				int32_t size = 12;
				if (const std::string* s = n->attribute ("size"))
				{
					if (!parseInteger (*s, size))
						size = 12;
				}
				int32_t style = 0;
				auto flag = [&] (const char* attr, int32_t bit) {
					const std::string* v = n->attribute (attr);
					if (v && *v == "true")
						style |= bit;
				};
				flag ("bold", kBoldFace);
				flag ("italic", kItalicFace);
				flag ("underline", kUnderlineFace);
				flag ("strike-through", kStrikethroughFace);
				fonts[*name] = makeOwned<CFontDesc> (installedFamily (*family, n->attribute ("alternative-font-names")).c_str (),
				                                     size, style);
			}
		}
		else if (kind == "colors")
		{
			for (const auto& n : section->children)
			{
				if (n->name != "color")
					return false;
				const std::string* name = n->attribute ("name");
				if (name == nullptr)
					continue;
				CColor c;
				const std::string* rgba = n->attribute ("rgba");
				const std::string* rgb = n->attribute ("rgb");
				if (rgba && parseHexColor (*rgba, c))
					colors[*name] = c;
				else if (rgb && rgb->size () == 7 && parseHexColor (*rgb, c))
					colors[*name] = c;
				else
				{
					c = kBlackCColor;
					auto component = [&] (const char* attr, uint8_t& out) {
						int32_t v;
						if (const std::string* s = n->attribute (attr); s && parseInteger (*s, v))
							out = static_cast<uint8_t> (std::clamp (v, 0, 255));
					};
					component ("red", c.red);
					component ("green", c.green);
					component ("blue", c.blue);
					component ("alpha", c.alpha);
					colors[*name] = c;
				}
			}
		}
		else if (kind == "control-tags")
		{
			for (const auto& n : section->children)
			{
				const std::string* name = n->attribute ("name");
				const std::string* tag = n->attribute ("tag");
				int32_t value;
				if (n->name == "control-tag" && name && tag && parseInteger (*tag, value))
					tags[*name] = value;
			}
		}
		else if (kind == "variables")
		{
			for (const auto& n : section->children)
			{
				const std::string* name = n->attribute ("name");
				const std::string* value = n->attribute ("value");
				if (n->name == "var" && name && value)
					variables[*name] = *value;
			}
		}
		else if (kind == "template")
		{
			if (const std::string* name = section->attribute ("name"))
				templates.emplace (*name, section.get ());
		}
		else if (kind != "gradients" && kind != "custom")
			return false;
	}
	return true;
}

CBitmap* UIDescription::getBitmap (UTF8StringPtr name) const
{
	if (name == nullptr)
		return nullptr;
	auto it = bitmaps.find (name);
	return it == bitmaps.end () ? nullptr : it->second->get ();
}

CFontRef UIDescription::getFont (UTF8StringPtr name) const
{
	if (name == nullptr)
		return nullptr;
	auto it = fonts.find (name);
	return it == fonts.end () ? nullptr : it->second.get ();
}

bool UIDescription::getColor (UTF8StringPtr name, CColor& color) const
{
	if (name == nullptr)
		return false;
	auto it = colors.find (name);
	if (it != colors.end ())
	{
		color = it->second;
		return true;
	}
	auto builtin = builtinColors ().find (name);
	if (builtin != builtinColors ().end ())
	{
		color = builtin->second;
		return true;
	}
	return parseHexColor (name, color);
}

int32_t UIDescription::getTagForName (UTF8StringPtr name) const
{
	if (name == nullptr)
		return -1;
	auto it = tags.find (name);
	return it == tags.end () ? -1 : it->second;
}

bool UIDescription::getVariable (UTF8StringPtr name, std::string& value) const
{
	auto it = name ? variables.find (name) : variables.end ();
	if (it == variables.end ())
		return false;
	value = it->second;
	return true;
}

std::vector<std::string> UIDescription::getTemplateNames () const
{
	std::vector<std::string> names;
	for (const auto& [name, node] : templates)
		names.push_back (name);
	return names;
}

std::vector<std::string> UIDescription::getBitmapNames () const
{
	std::vector<std::string> names;
	for (const auto& [name, bitmap] : bitmaps)
		names.push_back (name);
	return names;
}

std::vector<std::string> UIDescription::getFontNames () const
{
	std::vector<std::string> names;
	for (const auto& [name, font] : fonts)
		names.push_back (name);
	return names;
}

std::vector<std::string> UIDescription::getColorNames () const
{
	std::vector<std::string> names;
	for (const auto& [name, color] : colors)
		names.push_back (name);
	return names;
}

//------------------------------------------------------------------------------------------------
// Building views

struct UIDescription::ViewBuilder
{
	const UIDescription& desc;
	std::set<const Node*> openTemplates;

	// The attribute's value, with a variable of that name substituted.
	const std::string* get (const Node& node, const char* key) const
	{
		const std::string* v = node.attribute (key);
		if (v)
		{
			auto var = desc.variables.find (*v);
			if (var != desc.variables.end ())
				return &var->second;
		}
		return v;
	}

	bool color (const Node& node, const char* key, CColor& out) const
	{
		const std::string* v = get (node, key);
		if (v == nullptr)
			return false;
		if (v->empty ())
		{
			out = kTransparentCColor;
			return true;
		}
		return desc.getColor (v->c_str (), out);
	}

	bool number (const Node& node, const char* key, double& out) const
	{
		const std::string* v = get (node, key);
		return v && parseDouble (*v, out);
	}

	bool integer (const Node& node, const char* key, int32_t& out) const
	{
		const std::string* v = get (node, key);
		return v && parseInteger (*v, out);
	}

	bool boolean (const Node& node, const char* key, bool& out) const
	{
		const std::string* v = get (node, key);
		return v && parseBool (*v, out);
	}

	bool point (const Node& node, const char* key, CPoint& out) const
	{
		const std::string* v = get (node, key);
		return v && parsePoint (*v, out);
	}

	static void setStringAttribute (CView* view, const char (&id)[5], const std::string& value)
	{
		view->setAttribute (makeViewAttributeID (id), static_cast<uint32_t> (value.size () + 1), value.c_str ());
	}

	CView* create (const std::string& className) const
	{
		if (className == "CView")
			return new CView (CRect (0, 0, 50, 50));
		if (className == "CViewContainer" || className.empty ())
			return new CViewContainer (CRect (0, 0, 100, 100));
		if (className == "CKickButton")
			return new CKickButton (CRect (0, 0, 0, 0), nullptr, -1, nullptr);
		if (className == "CAnimKnob")
			return new CAnimKnob (CRect (0, 0, 0, 0), nullptr, -1, nullptr);
		if (className == "CTextLabel")
			return new CTextLabel (CRect (0, 0, 100, 20));
		if (className == "CTextEdit")
			return new CTextEdit (CRect (0, 0, 100, 20), nullptr, -1);
		if (className == "COptionMenu")
			return new COptionMenu (CRect (0, 0, 100, 20), nullptr, -1);
		VSTGUI_LOG ("Unknown view class " << className << ", created as CViewContainer");
		return new CViewContainer (CRect (0, 0, 100, 100));
	}

	// Each class applies its own attributes, then its base class does: size and bitmap last.
	void apply (CView* view, const Node& node) const
	{
		if (auto* menu = dynamic_cast<COptionMenu*> (view))
			applyOptionMenu (menu, node);
		if (auto* edit = dynamic_cast<CTextEdit*> (view))
			applyTextEdit (edit, node);
		if (auto* label = dynamic_cast<CTextLabel*> (view))
			applyTextLabel (label, node);
		if (auto* display = dynamic_cast<CParamDisplay*> (view))
			applyParamDisplay (display, node);
		if (auto* knob = dynamic_cast<CAnimKnob*> (view))
			applyAnimKnob (knob, node);
		if (auto* multi = dynamic_cast<IMultiBitmapControl*> (view))
			applyMultiBitmap (multi, node);
		if (auto* knob = dynamic_cast<CKnobBase*> (view))
			applyKnobBase (knob, node);
		if (auto* control = dynamic_cast<CControl*> (view))
			applyControl (control, node);
		if (auto* container = dynamic_cast<CViewContainer*> (view))
			applyContainer (container, node);
		applyView (view, node);
	}

	void applyOptionMenu (COptionMenu* menu, const Node& node) const
	{
		bool b;
		int32_t style = menu->getStyle ();
		if (boolean (node, "menu-popup-style", b))
			style = b ? (style | COptionMenu::kPopupStyle) : (style & ~COptionMenu::kPopupStyle);
		if (boolean (node, "menu-check-style", b))
			style = b ? (style | COptionMenu::kCheckStyle) : (style & ~COptionMenu::kCheckStyle);
		menu->setStyle (style);
	}

	void applyTextEdit (CTextEdit* edit, const Node& node) const
	{
		bool b;
		if (boolean (node, "secure-style", b))
			edit->setSecureStyle (b);
		if (boolean (node, "immediate-text-change", b))
			edit->setImmediateTextChange (b);
		if (boolean (node, "style-doubleclick", b))
			edit->setStyle (b ? (edit->getStyle () | kDoubleClickStyle) : (edit->getStyle () & ~kDoubleClickStyle));
		if (const std::string* v = get (node, "placeholder-title"))
			edit->setPlaceholderString (UTF8String (*v));
	}

	void applyTextLabel (CTextLabel* label, const Node& node) const
	{
		if (const std::string* v = get (node, "title"))
		{
			std::string title = *v;
			for (size_t pos = 0; (pos = title.find ("\\n", pos)) != std::string::npos;)
				title.replace (pos, 2, "\n");
			label->setText (UTF8String (std::move (title)));
		}
		if (const std::string* v = get (node, "truncate-mode"))
		{
			if (*v == "head")
				label->setTextTruncateMode (CTextLabel::kTruncateHead);
			else if (*v == "tail")
				label->setTextTruncateMode (CTextLabel::kTruncateTail);
			else
				label->setTextTruncateMode (CTextLabel::kTruncateNone);
		}
	}

	void applyParamDisplay (CParamDisplay* display, const Node& node) const
	{
		if (const std::string* v = get (node, "font"))
		{
			if (CFontRef font = desc.getFont (v->c_str ()))
				display->setFont (font);
		}
		CColor c;
		if (color (node, "font-color", c))
			display->setFontColor (c);
		if (color (node, "back-color", c))
			display->setBackColor (c);
		if (color (node, "frame-color", c))
			display->setFrameColor (c);
		if (color (node, "shadow-color", c))
			display->setShadowColor (c);
		if (const std::string* v = get (node, "text-alignment"))
			display->setHoriAlign (*v == "left" ? kLeftText : *v == "right" ? kRightText : kCenterText);
		CPoint p;
		if (point (node, "text-inset", p))
			display->setTextInset (p);
		if (point (node, "text-shadow-offset", p))
			display->setShadowTextOffset (p);
		if (point (node, "background-offset", p))
			display->setBackOffset (p);
		bool b;
		if (boolean (node, "font-antialias", b))
			display->setAntialias (b);
		double d;
		if (number (node, "round-rect-radius", d))
			display->setRoundRectRadius (d);
		if (number (node, "frame-width", d))
			display->setFrameWidth (d);
		if (number (node, "text-rotation", d))
			display->setTextRotation (d);
		int32_t style = display->getStyle ();
		const std::pair<const char*, int32_t> styles[] = {
		    {"style-3D-in", k3DIn},           {"style-3D-out", k3DOut},         {"style-no-frame", kNoFrame},
		    {"style-no-text", kNoTextStyle},  {"style-no-draw", kNoDrawStyle},  {"style-shadow-text", kShadowText},
		    {"style-round-rect", kRoundRectStyle},
		};
		for (const auto& [key, bit] : styles)
		{
			if (boolean (node, key, b))
				style = b ? (style | bit) : (style & ~bit);
		}
		display->setStyle (style);
		int32_t precision;
		if (integer (node, "value-precision", precision) && precision >= 0 && precision < 256)
			display->setPrecision (static_cast<uint8_t> (precision));
	}

	void applyAnimKnob (CAnimKnob* knob, const Node& node) const
	{
		bool b;
		if (boolean (node, "inverse-bitmap", b))
			knob->setInverseBitmap (b);
	}

	void applyMultiBitmap (IMultiBitmapControl* control, const Node& node) const
	{
		int32_t v;
		if (integer (node, "height-of-one-image", v))
			control->setHeightOfOneImage (v);
		else
			control->autoComputeHeightOfOneImage ();
		if (integer (node, "sub-pixmaps", v))
			control->setNumSubPixmaps (v);
	}

	void applyKnobBase (CKnobBase* knob, const Node& node) const
	{
		double d;
		if (number (node, "angle-start", d))
			knob->setStartAngle (static_cast<float> (d / 180. * M_PI));
		if (number (node, "angle-range", d))
			knob->setRangeAngle (static_cast<float> (d / 180. * M_PI));
		if (number (node, "value-inset", d))
			knob->setInsetValue (d);
		if (number (node, "zoom-factor", d))
			knob->setZoomFactor (static_cast<float> (d));
	}

	void applyControl (CControl* control, const Node& node) const
	{
		if (const std::string* v = get (node, "control-tag"))
		{
			int32_t tag = -1;
			if (!v->empty ())
			{
				tag = desc.getTagForName (v->c_str ());
				if (tag == -1)
					parseInteger (*v, tag);
			}
			control->setTag (tag);
		}
		double d;
		if (number (node, "default-value", d))
			control->setDefaultValue (static_cast<float> (d));
		if (number (node, "min-value", d))
			control->setMin (static_cast<float> (d));
		if (number (node, "max-value", d))
			control->setMax (static_cast<float> (d));
		if (number (node, "wheel-inc-value", d))
			control->setWheelInc (static_cast<float> (d));
	}

	void applyContainer (CViewContainer* container, const Node& node) const
	{
		CColor c;
		if (color (node, "background-color", c))
			container->setBackgroundColor (c);
		if (const std::string* v = get (node, "background-color-draw-style"))
		{
			if (*v == "stroked")
				container->setBackgroundColorDrawStyle (kDrawStroked);
			else if (*v == "filled")
				container->setBackgroundColorDrawStyle (kDrawFilled);
			else if (*v == "filled and stroked")
				container->setBackgroundColorDrawStyle (kDrawFilledAndStroked);
		}
	}

	void applyView (CView* view, const Node& node) const
	{
		CPoint origin = view->getViewSize ().getTopLeft ();
		CPoint size = view->getViewSize ().getSize ();
		bool hasOrigin = point (node, "origin", origin);
		bool hasSize = point (node, "size", size);
		if (hasOrigin || hasSize)
		{
			CRect r (origin, size);
			view->setViewSize (r, false);
			view->setMouseableArea (r);
		}
		if (const std::string* v = get (node, "bitmap"))
			view->setBackground (v->empty () ? nullptr : desc.getBitmap (v->c_str ()));
		if (const std::string* v = get (node, "disabled-bitmap"))
			view->setDisabledBackground (v->empty () ? nullptr : desc.getBitmap (v->c_str ()));
		bool b;
		if (boolean (node, "transparent", b))
			view->setTransparency (b);
		if (boolean (node, "mouse-enabled", b))
			view->setMouseEnabled (b);
		if (boolean (node, "wants-focus", b))
			view->setWantsFocus (b);
		if (const std::string* v = get (node, "autosize"))
		{
			int32_t flags = kAutosizeNone;
			const std::pair<const char*, int32_t> words[] = {{"left", kAutosizeLeft},     {"top", kAutosizeTop},
			                                                  {"right", kAutosizeRight},   {"bottom", kAutosizeBottom},
			                                                  {"row", kAutosizeRow},       {"column", kAutosizeColumn}};
			for (const auto& [word, bit] : words)
			{
				if (v->find (word) != std::string::npos)
					flags |= bit;
			}
			view->setAutosizeFlags (flags);
		}
		if (const std::string* v = get (node, "tooltip"))
			view->setTooltipText (v->empty () ? nullptr : v->c_str ());
		if (const std::string* v = get (node, "custom-view-name"))
			setStringAttribute (view, "uicv", *v);
		if (const std::string* v = get (node, "sub-controller"))
			setStringAttribute (view, "uisc", *v);
		double d;
		if (number (node, "opacity", d))
			view->setAlphaValue (static_cast<float> (d));
	}

	CView* build (const Node& node) const
	{
		CView* view = nullptr;
		if (const std::string* templateName = node.attribute ("template"))
		{
			auto it = desc.templates.find (*templateName);
			if (it != desc.templates.end ())
				view = instantiate (*it->second);
		}
		if (view == nullptr)
		{
			const std::string* className = node.attribute ("class");
			view = create (className ? *className : std::string ());
		}
		apply (view, node);
		addChildren (view, node);
		return view;
	}

	// A template that (directly or not) contains itself is refused instead of recursing forever.
	CView* instantiate (const Node& templateNode) const
	{
		auto& open = const_cast<std::set<const Node*>&> (openTemplates);
		if (!open.insert (&templateNode).second)
		{
			VSTGUI_LOG ("Template " << *templateNode.attribute ("name") << " contains itself");
			return nullptr;
		}
		const std::string* className = templateNode.attribute ("class");
		CView* view = create (className ? *className : std::string ());
		apply (view, templateNode);
		addChildren (view, templateNode);
		open.erase (&templateNode);
		return view;
	}

	void addChildren (CView* view, const Node& node) const
	{
		CViewContainer* container = view->asViewContainer ();
		for (const auto& child : node.children)
		{
			if (child->name != "view" || container == nullptr)
				continue;
			CView* childView = build (*child);
			if (!container->addView (childView))
				childView->forget ();
		}
		for (const auto& child : node.children)
		{
			if (child->name != "attribute")
				continue;
			const std::string* id = child->attribute ("id");
			const std::string* value = child->attribute ("value");
			if (id == nullptr || value == nullptr || id->size () != 4)
				continue;
			CViewAttributeID packed = 0;
			for (char c : *id)
				packed = (packed << 8) | static_cast<unsigned char> (c);
			view->setAttribute (packed, static_cast<uint32_t> (value->size () + 1), value->c_str ());
		}
	}
};

CView* UIDescription::createView (UTF8StringPtr name, IController*) const
{
	if (name == nullptr)
		return nullptr;
	auto it = templates.find (name);
	if (it == templates.end ())
		return nullptr;
	ViewBuilder builder {*this, {}};
	CView* view = builder.instantiate (*it->second);
	if (view)
		ViewBuilder::setStringAttribute (view, "uitl", it->first);
	return view;
}
} // VSTGUI
