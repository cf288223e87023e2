// FHttpManager: the requests in flight, and the tick that hands their progress and ends to the game thread.
#pragma once

#include "CoreMinimal.h"
#include "HttpFwd.h"

class HTTP_API FHttpManager
{
public:
	virtual ~FHttpManager() = default;

	/** Calls the progress and completion delegates of the requests that moved on. Returns true to keep ticking. */
	virtual bool Tick(float DeltaSeconds);

	/** Stand-in: the number of requests started and not yet completed on the game thread. */
	int32 GetNumRequestsInFlight() const;
};
