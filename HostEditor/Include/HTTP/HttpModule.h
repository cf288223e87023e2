// FHttpModule: the engine's HTTP module: makes requests and owns their manager.
#pragma once

#include "CoreMinimal.h"
#include "Containers/Ticker.h"
#include "HttpFwd.h"
#include "Modules/ModuleInterface.h"

class FHttpManager;

class HTTP_API FHttpModule : public IModuleInterface
{
public:
	virtual void StartupModule() override;
	virtual void ShutdownModule() override;

	/** The module, loaded when it is not yet. */
	static FHttpModule& Get();

	/** A new request (verb GET until set). */
	FHttpRequestRef CreateRequest();
	FHttpManager& GetHttpManager();

	/** The default time a request may take, in seconds. */
	float GetHttpTimeout() const { return HttpTimeout; }

private:
	float HttpTimeout = 180.0f;
	FHttpManager* HttpManager = nullptr;
	FTSTicker::FDelegateHandle TickerHandle;
};
