// IHttpResponse: the answer to an HTTP request: its status code and content.
#pragma once

#include "CoreMinimal.h"
#include "Interfaces/IHttpBase.h"

namespace EHttpResponseCodes
{
	enum Type
	{
		Unknown = 0,
		Ok = 200,
		Created = 201,
		NoContent = 204,
		PartialContent = 206,
		Moved = 301,
		Redirect = 302,
		BadRequest = 400,
		Denied = 401,
		Forbidden = 403,
		NotFound = 404,
		RequestTimeout = 408,
		TooManyRequests = 429,
		ServerError = 500,
		ServiceUnavail = 503,
	};
}

class HTTP_API IHttpResponse : public IHttpBase
{
public:
	virtual int32 GetResponseCode() const = 0;
	/** The content as UTF-8 text. */
	virtual FString GetContentAsString() const = 0;
};
