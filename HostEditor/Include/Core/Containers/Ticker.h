// FTSTicker: delegates called on every frame of the engine loop (the core ticker).
#pragma once

#include <mutex>

#include "CoreMinimal.h"
#include "Delegates/Delegate.h"
#include "Templates/SharedPointer.h"

/** Called with the frame's time step; return false to be removed. */
DECLARE_DELEGATE_RetVal_OneParam(bool, FTickerDelegate, float);

class CORE_API FTSTicker
{
public:
	struct FElement
	{
		double FireTime = 0.0;
		float DelayTime = 0.0f;
		FTickerDelegate Delegate;
		bool bRemoved = false;
	};

	/** Identifies an added delegate, for removing it. */
	typedef TWeakPtr<FElement> FDelegateHandle;

	/** The ticker the engine loop ticks every frame. */
	static FTSTicker& GetCoreTicker();

	/** Adds a delegate called every Delay seconds (every frame for 0). */
	FDelegateHandle AddTicker(const FTickerDelegate& InDelegate, float InDelay = 0.0f);
	static void RemoveTicker(FDelegateHandle Handle);

	/** Runs the delegates that are due; the engine loop calls this once per frame. */
	void Tick(float DeltaTime);

private:
	double CurrentTime = 0.0;
	TArray<TSharedPtr<FElement>> Elements;
	std::recursive_mutex Mutex;
};
