#include "uiEnvelope.h"

#include "ZentEditor.h"

using namespace VSTGUI;

uiEnvelope::uiEnvelope(ZentEditor& editor, const CRect& size, IControlListener* listener, long tag,
                       CBitmap* background)
: CControl(size, listener, static_cast<int32_t>(tag), background), m_editor(editor)
{
}

uiEnvelope::uiEnvelope(const uiEnvelope& other) : CControl(other), m_editor(other.m_editor) {}

uiEnvelope::~uiEnvelope() noexcept = default;

void uiEnvelope::draw(CDrawContext*)
{
	setDirty(false);
}

void uiEnvelope::updateFromParameters() {}
