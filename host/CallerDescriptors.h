#pragma once

// The descriptors above standard error that the host was started with: the caller's, handed over for the host to
// write (virel-host render -o /dev/fd/3 3>song.wav). Any other number is one the host opens for itself (the plug-in's
// log, temporary files), where an output would be lost.
namespace callerDescriptors
{
// Notes them: called first, before the host opens anything.
void note();
bool handedOver(int fd);
}
