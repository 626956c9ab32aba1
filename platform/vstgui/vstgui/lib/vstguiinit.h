#pragma once

namespace VSTGUI
{
using PlatformInstanceHandle = void*;

// Prepares the toolkit for use; on this platform the handle may be null.
void init (PlatformInstanceHandle instance);
void exit ();
} // VSTGUI
