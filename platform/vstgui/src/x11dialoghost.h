#pragma once

namespace VSTGUI
{
class X11PlatformFrame;

// The X11 frames of each thread, lent to the desktop's dialogs: a dialog belongs to the frame that took the
// input which opened it (or else to the one that took input last), and every frame of the thread keeps
// drawing while the thread waits for a dialog's answer.
namespace X11DialogHost
{
void add (X11PlatformFrame* frame);
void remove (X11PlatformFrame* frame);
// Marks the frame as the one handling input now and returns the one marked before (null: none).
X11PlatformFrame* setHandlingInput (X11PlatformFrame* frame);
} // X11DialogHost
} // VSTGUI
