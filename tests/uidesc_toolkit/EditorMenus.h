#pragma once

#include "vstgui/vstgui.h"

#include <string>

// Fills an option menu the way the editor does when it binds its views: the wave menu as six
// titled groups of submenus, the coarse menu as one submenu per octave; entries are the
// parameter's display texts, tagged with their values.
void fillWaveMenu (VSTGUI::COptionMenu* menu);
void fillCoarseMenu (VSTGUI::COptionMenu* menu);

// The display text of a value of the wave or coarse parameter.
std::string waveName (int value);
std::string coarseName (int value);
