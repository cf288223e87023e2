// IHttpRequest: one HTTP request: what it asks for, and the delegates told of its progress and end.
#pragma once

#include "CoreMinimal.h"
#include "Delegates/Delegate.h"
#include "HttpFwd.h"
#include "Interfaces/IHttpBase.h"
#include "Templates/SharedPointer.h"

namespace EHttpRequestStatus
{
	enum Type
	{
		NotStarted,
		Processing,
		Failed,
		Succeeded,
	};

	inline bool IsFinished(const Type Value) { return Value == Failed || Value == Succeeded; }
}

/** Called on the game thread when the request ends; bConnectedSuccessfully is false when no response came (cancelled, unreachable, timed out). */
DECLARE_DELEGATE_ThreeParams(FHttpRequestCompleteDelegate, FHttpRequestPtr /*Request*/, FHttpResponsePtr /*Response*/, bool /*bConnectedSuccessfully*/);
/** Called on the game thread as bytes go out and come in. */
DECLARE_DELEGATE_ThreeParams(FHttpRequestProgressDelegate64, FHttpRequestPtr /*Request*/, uint64 /*BytesSent*/, uint64 /*BytesReceived*/);
/** Called on the game thread for each response header as it arrives. */
DECLARE_DELEGATE_ThreeParams(FHttpRequestHeaderReceivedDelegate, FHttpRequestPtr /*Request*/, const FString& /*HeaderName*/, const FString& /*NewHeaderValue*/);

class HTTP_API IHttpRequest : public IHttpBase, public TSharedFromThis<IHttpRequest, ESPMode::ThreadSafe>
{
public:
	virtual FString GetVerb() const = 0;
	virtual void SetVerb(const FString& Verb) = 0;
	virtual void SetURL(const FString& URL) = 0;
	virtual void SetContent(const TArray<uint8>& ContentPayload) = 0;
	virtual void SetContentAsString(const FString& ContentString) = 0;
	virtual void SetHeader(const FString& HeaderName, const FString& HeaderValue) = 0;
	/** Seconds the whole request may take before it fails (0: the module's default). */
	virtual void SetTimeout(float InTimeoutSecs) = 0;

	/** Starts the request; false when it cannot start (no address, already started). */
	virtual bool ProcessRequest() = 0;
	/** Stops the request; it completes as not connected. */
	virtual void CancelRequest() = 0;

	virtual FHttpRequestCompleteDelegate& OnProcessRequestComplete() = 0;
	virtual FHttpRequestProgressDelegate64& OnRequestProgress64() = 0;
	virtual FHttpRequestHeaderReceivedDelegate& OnHeaderReceived() = 0;

	virtual EHttpRequestStatus::Type GetStatus() const = 0;
	virtual const FHttpResponsePtr GetResponse() const = 0;
	virtual float GetElapsedTime() const = 0;
};
