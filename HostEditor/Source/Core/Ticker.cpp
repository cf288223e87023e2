// The core ticker: delegates run by the engine loop every frame or every few seconds.

#include "Containers/Ticker.h"

FTSTicker& FTSTicker::GetCoreTicker()
{
	static FTSTicker Ticker;
	return Ticker;
}

FTSTicker::FDelegateHandle FTSTicker::AddTicker(const FTickerDelegate& InDelegate, float InDelay)
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	TSharedPtr<FElement> Element = MakeShared<FElement>();
	Element->Delegate = InDelegate;
	Element->DelayTime = InDelay;
	Element->FireTime = CurrentTime + InDelay;
	Elements.Add(Element);
	return Element;
}

void FTSTicker::RemoveTicker(FDelegateHandle Handle)
{
	if (TSharedPtr<FElement> Element = Handle.Pin())
	{
		Element->bRemoved = true;
	}
}

void FTSTicker::Tick(float DeltaTime)
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	CurrentTime += DeltaTime;
	const TArray<TSharedPtr<FElement>> Due = Elements;
	for (const TSharedPtr<FElement>& Element : Due)
	{
		if (Element->bRemoved || Element->FireTime > CurrentTime)
		{
			continue;
		}
		if (!Element->Delegate.IsBound() || !Element->Delegate.Execute(DeltaTime))
		{
			Element->bRemoved = true;
			continue;
		}
		Element->FireTime = CurrentTime + Element->DelayTime;
	}
	Elements.RemoveAll([](const TSharedPtr<FElement>& Element) { return Element->bRemoved; });
}
