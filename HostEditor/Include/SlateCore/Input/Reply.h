// FReply: what an event handler answers, whether it handled the event.
#pragma once

#include "CoreMinimal.h"

class SLATECORE_API FReply
{
public:
	/** The event was handled; it goes no further. */
	static FReply Handled() { return FReply(true); }
	/** The event was not handled; it goes on to the widgets behind. */
	static FReply Unhandled() { return FReply(false); }

	bool IsEventHandled() const { return bIsHandled; }

private:
	explicit FReply(bool bInHandled) : bIsHandled(bInHandled) {}

	bool bIsHandled;
};
