#pragma once

#include <cstdio>

class HostedUnit;
struct HostOptions;

// `virel-host editor`: the unit's view in a window for a person while the render thread plays, until the
// window is closed.
int showEditor(HostedUnit& unit, const HostOptions& options, FILE* results);
// `virel-host editor --screenshot FILE.png`: the view drawn without a display, after the script's actions.
int drawEditor(HostedUnit& unit, const HostOptions& options, FILE* results);
