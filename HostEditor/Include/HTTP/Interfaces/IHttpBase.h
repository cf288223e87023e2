// IHttpBase: what a request and a response have in common: the address, headers and content.
#pragma once

#include "CoreMinimal.h"

class HTTP_API IHttpBase
{
public:
	virtual ~IHttpBase() = default;

	virtual FString GetURL() const = 0;
	virtual FString GetHeader(const FString& HeaderName) const = 0;
	virtual TArray<FString> GetAllHeaders() const = 0;
	virtual FString GetContentType() const = 0;
	virtual uint64 GetContentLength() const = 0;
	virtual const TArray<uint8>& GetContent() const = 0;
};
