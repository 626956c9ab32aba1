#include "uiDisplay.h"

#include "ZentEditor.h"

using namespace VSTGUI;

uiDisplay::uiDisplay(ZentEditor& editor) : m_editor(editor) {}

uiDisplay::~uiDisplay() = default;

void uiDisplay::setTextShowCurrentSingle() {}
