#include "uiSourceMix.h"

#include "ZentEditor.h"

using namespace VSTGUI;

uiSourceMix::uiSourceMix(ZentEditor& editor) : m_editor(editor) {}

uiSourceMix::~uiSourceMix() = default;

void uiSourceMix::onSourceMixParametersChanged() {}
