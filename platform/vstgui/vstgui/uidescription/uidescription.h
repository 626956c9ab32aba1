#pragma once

#include "../lib/ccolor.h"
#include "../lib/vstguibase.h"
#include "../lib/vstguifwd.h"
#include "icontroller.h"
#include "xmlparser.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace VSTGUI
{
// Reads the XML UI description format and builds view trees from its templates.
class UIDescription : public NonAtomicReferenceCounted
{
public:
	UIDescription (Xml::IContentProvider* xmlContentProvider, IViewFactory* viewFactory = nullptr);
	~UIDescription () noexcept override;

	// True on success or when already parsed; on failure the description stays empty.
	virtual bool parse ();
	// A new view (one reference, the caller's) built from the named template, or null.
	CView* createView (UTF8StringPtr name, IController* controller) const;

	CBitmap* getBitmap (UTF8StringPtr name) const;
	CFontRef getFont (UTF8StringPtr name) const;
	bool getColor (UTF8StringPtr name, CColor& color) const;
	int32_t getTagForName (UTF8StringPtr name) const;
	bool getVariable (UTF8StringPtr name, std::string& value) const;

	std::vector<std::string> getTemplateNames () const;
	std::vector<std::string> getBitmapNames () const;
	std::vector<std::string> getFontNames () const;
	std::vector<std::string> getColorNames () const;

	struct Node;

private:
	struct Bitmap;
	struct ViewBuilder;

	bool interpret ();
	void clear ();

	Xml::IContentProvider* contentProvider;
	std::unique_ptr<Node> root;
	std::map<std::string, std::unique_ptr<Bitmap>> bitmaps;
	std::map<std::string, SharedPointer<CFontDesc>> fonts;
	std::map<std::string, CColor> colors;
	std::map<std::string, int32_t> tags;
	std::map<std::string, std::string> variables;
	std::map<std::string, const Node*> templates;
	bool parsed {false};
};
} // VSTGUI
