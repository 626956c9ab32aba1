#pragma once

#include "AUScopeElement.h"

// An input bus: a connection to another unit or a render callback may feed it. Instruments never pull it.
class AUInputElement : public AUIOElement
{
public:
	explicit AUInputElement(AUBase* audioUnit);

	void SetConnection(const AudioUnitConnection& conn);
	void SetInputCallback(AURenderCallback proc, void* refCon);
	bool IsConnected() const { return mConnection.sourceAudioUnit != nullptr || mInputProc != nullptr; }
	const AudioUnitConnection& GetConnection() const { return mConnection; }

private:
	AudioUnitConnection mConnection{};
	AURenderCallback mInputProc = nullptr;
	void* mInputProcRefCon = nullptr;
};
