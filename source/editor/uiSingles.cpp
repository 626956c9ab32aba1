#include "uiSingles.h"

#include "ZentEditor.h"

using namespace VSTGUI;

uiSingles::uiSingles(ZentEditor& editor) : m_editor(editor) {}

uiSingles::~uiSingles() = default;

void uiSingles::setSingleNames(size_t offset)
{
	m_pageOffset = offset;
}

void uiSingles::valueChanged(CControl*) {}
