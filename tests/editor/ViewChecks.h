#pragma once

#include <string>

#include "EditorHarness.h"

// The views named `name` show parameter p's value in the facade as a person sees them: knob positions,
// label and menu texts, and the colour a shown button is lit in (red for a mute, green otherwise).
void expectViewsShow(EditorHarness& h, const std::string& name, zentlib::EParam p);

// Every view of every parameter; the source views (named for source 1) show the active source's.
void expectViewsShowTheFacade(EditorHarness& h);
