// FSlateApplicationBase: the part of the Slate application that widgets themselves reach.
#pragma once

#include "CoreMinimal.h"

class FSlateRenderer;
class SWindow;

class SLATECORE_API FSlateApplicationBase
{
public:
	virtual ~FSlateApplicationBase() = default;

	/** True while an application exists. */
	static bool IsInitialized() { return CurrentBaseApplication != nullptr; }
	/** The application; only while IsInitialized. */
	static FSlateApplicationBase& Get()
	{
		check(CurrentBaseApplication);
		return *CurrentBaseApplication;
	}

	/** The renderer that draws the application's windows. */
	FSlateRenderer* GetRenderer() const { return Renderer.Get(); }

	/** Destroys a window and its child windows; their closed callbacks run. */
	virtual void RequestDestroyWindow(TSharedRef<SWindow> WindowToDestroy) = 0;

protected:
	static FSlateApplicationBase* CurrentBaseApplication;
	TSharedPtr<FSlateRenderer> Renderer;
};
