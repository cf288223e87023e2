// FSlateRenderer: draws the windows of the application. The headless editor draws nothing; it counts
// how often it was asked to finish its pending drawing.
#pragma once

#include "CoreMinimal.h"

class SLATECORE_API FSlateRenderer
{
public:
	virtual ~FSlateRenderer() = default;

	/** Waits until every drawing command issued so far has completed. */
	virtual void FlushCommands() const { ++FlushCount; }

	/** How often FlushCommands ran. */
	int32 GetFlushCount() const { return FlushCount; }

private:
	mutable int32 FlushCount = 0;
};
