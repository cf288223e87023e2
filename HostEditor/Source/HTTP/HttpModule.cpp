// The HTTP module over libcurl: each request runs on a worker thread of its own; the manager's tick
// on the game thread (the core ticker) hands its progress and its end to the request's delegates.

#include "HttpModule.h"

#include <curl/curl.h>

#include <atomic>
#include <cstring>
#include <chrono>
#include <mutex>
#include <thread>

#include "HttpManager.h"
#include "Interfaces/IHttpRequest.h"
#include "Interfaces/IHttpResponse.h"
#include "Modules/ModuleManager.h"

DEFINE_LOG_CATEGORY_STATIC(LogHttp, Log, All);

namespace
{
	std::string Narrow(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}

	class FCurlResponse final : public IHttpResponse
	{
	public:
		FString URL;
		int32 ResponseCode = 0;
		TArray<uint8> Content;
		TArray<FString> Headers;

		virtual FString GetURL() const override { return URL; }
		virtual FString GetHeader(const FString& HeaderName) const override
		{
			for (const FString& Header : Headers)
			{
				FString Name;
				FString Value;
				if (Header.Split(TEXT(":"), &Name, &Value) && Name.TrimStartAndEnd().Equals(HeaderName, ESearchCase::IgnoreCase))
				{
					return Value.TrimStartAndEnd();
				}
			}
			return FString();
		}
		virtual TArray<FString> GetAllHeaders() const override { return Headers; }
		virtual FString GetContentType() const override { return GetHeader(TEXT("Content-Type")); }
		virtual uint64 GetContentLength() const override { return (uint64)Content.Num(); }
		virtual const TArray<uint8>& GetContent() const override { return Content; }
		virtual int32 GetResponseCode() const override { return ResponseCode; }
		virtual FString GetContentAsString() const override
		{
			const std::string Text(reinterpret_cast<const char*>(Content.GetData()), (size_t)Content.Num());
			return FString(UTF8_TO_TCHAR(Text.c_str()));
		}
	};

	class FCurlRequest final : public IHttpRequest
	{
	public:
		virtual ~FCurlRequest() override
		{
			Cancelled = true;
			if (Worker.joinable())
			{
				Worker.join();
			}
		}

		virtual FString GetURL() const override { return URL; }
		virtual FString GetHeader(const FString& HeaderName) const override
		{
			const FString* Value = Headers.Find(HeaderName);
			return Value ? *Value : FString();
		}
		virtual TArray<FString> GetAllHeaders() const override
		{
			TArray<FString> All;
			for (const TPair<FString, FString>& Pair : Headers)
			{
				All.Add(Pair.Key + TEXT(": ") + Pair.Value);
			}
			return All;
		}
		virtual FString GetContentType() const override { return GetHeader(TEXT("Content-Type")); }
		virtual uint64 GetContentLength() const override { return (uint64)Payload.Num(); }
		virtual const TArray<uint8>& GetContent() const override { return Payload; }

		virtual FString GetVerb() const override { return Verb; }
		virtual void SetVerb(const FString& InVerb) override { Verb = InVerb.ToUpper(); }
		virtual void SetURL(const FString& InURL) override { URL = InURL; }
		virtual void SetContent(const TArray<uint8>& ContentPayload) override { Payload = ContentPayload; }
		virtual void SetContentAsString(const FString& ContentString) override
		{
			const std::string Text = Narrow(ContentString);
			Payload.SetNum((int32)Text.size());
			std::memcpy(Payload.GetData(), Text.data(), Text.size());
		}
		virtual void SetHeader(const FString& HeaderName, const FString& HeaderValue) override { Headers.Add(HeaderName, HeaderValue); }
		virtual void SetTimeout(float InTimeoutSecs) override { TimeoutSeconds = InTimeoutSecs; }

		virtual bool ProcessRequest() override;
		virtual void CancelRequest() override { Cancelled = true; }
		virtual FHttpRequestCompleteDelegate& OnProcessRequestComplete() override { return CompleteDelegate; }
		virtual FHttpRequestProgressDelegate64& OnRequestProgress64() override { return ProgressDelegate; }
		virtual FHttpRequestHeaderReceivedDelegate& OnHeaderReceived() override { return HeaderDelegate; }
		virtual EHttpRequestStatus::Type GetStatus() const override { return Status.load(); }
		virtual const FHttpResponsePtr GetResponse() const override { return DeliveredResponse; }
		virtual float GetElapsedTime() const override
		{
			return Started ? std::chrono::duration<float>(std::chrono::steady_clock::now() - StartTime).count() : 0.0f;
		}

		/** On the game thread: the progress and the end since the last tick. True once completed. */
		bool TickOnGameThread();

		float DefaultTimeout = 180.0f;

	private:
		void Run();

		static size_t OnBody(char* Data, size_t Size, size_t Count, void* User)
		{
			FCurlRequest* Self = static_cast<FCurlRequest*>(User);
			const size_t Bytes = Size * Count;
			std::lock_guard<std::mutex> Lock(Self->Mutex);
			const int32 Offset = Self->Response->Content.Num();
			Self->Response->Content.SetNum(Offset + (int32)Bytes);
			std::memcpy(Self->Response->Content.GetData() + Offset, Data, Bytes);
			Self->BytesReceived = (uint64)Self->Response->Content.Num();
			return Bytes;
		}

		static size_t OnHeader(char* Data, size_t Size, size_t Count, void* User)
		{
			FCurlRequest* Self = static_cast<FCurlRequest*>(User);
			const size_t Bytes = Size * Count;
			FString Line(UTF8_TO_TCHAR(std::string(Data, Bytes).c_str()));
			Line.TrimStartAndEndInline();
			if (!Line.IsEmpty() && !Line.StartsWith(TEXT("HTTP/")))
			{
				std::lock_guard<std::mutex> Lock(Self->Mutex);
				Self->Response->Headers.Add(Line);
			}
			return Bytes;
		}

		static int OnTransferInfo(void* User, curl_off_t, curl_off_t, curl_off_t, curl_off_t UploadedNow)
		{
			FCurlRequest* Self = static_cast<FCurlRequest*>(User);
			Self->BytesSent = (uint64)UploadedNow;
			return Self->Cancelled ? 1 : 0;
		}

		FString URL;
		FString Verb = TEXT("GET");
		TMap<FString, FString> Headers;
		TArray<uint8> Payload;
		float TimeoutSeconds = 0.0f;
		FHttpRequestCompleteDelegate CompleteDelegate;
		FHttpRequestProgressDelegate64 ProgressDelegate;
		FHttpRequestHeaderReceivedDelegate HeaderDelegate;

		std::thread Worker;
		std::mutex Mutex;
		std::atomic<EHttpRequestStatus::Type> Status{EHttpRequestStatus::NotStarted};
		std::atomic<bool> Cancelled{false};
		std::atomic<bool> Finished{false};
		std::atomic<uint64> BytesReceived{0};
		std::atomic<uint64> BytesSent{0};
		bool bConnected = false;
		bool Started = false;
		std::chrono::steady_clock::time_point StartTime;
		TSharedPtr<FCurlResponse, ESPMode::ThreadSafe> Response;
		FHttpResponsePtr DeliveredResponse;
		uint64 ReportedReceived = 0;
		uint64 ReportedSent = 0;
		int32 ReportedHeaders = 0;
	};

	/** The requests started and not yet completed on the game thread. */
	struct FInFlight
	{
		std::mutex Mutex;
		TArray<TSharedPtr<FCurlRequest, ESPMode::ThreadSafe>> Requests;

		static FInFlight& Get()
		{
			static FInFlight Instance;
			return Instance;
		}
	};

	bool ProcessOnce()
	{
		static const bool bReady = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
		return bReady;
	}
}

bool FCurlRequest::ProcessRequest()
{
	if (Started || URL.IsEmpty() || !ProcessOnce())
	{
		UE_LOG(LogHttp, Warning, TEXT("ProcessRequest: %s"), URL.IsEmpty() ? TEXT("the request has no URL") : TEXT("the request was started already"));
		return false;
	}
	Started = true;
	StartTime = std::chrono::steady_clock::now();
	Response = MakeShared<FCurlResponse, ESPMode::ThreadSafe>();
	Response->URL = URL;
	Status = EHttpRequestStatus::Processing;
	{
		std::lock_guard<std::mutex> Lock(FInFlight::Get().Mutex);
		FInFlight::Get().Requests.Add(StaticCastSharedRef<FCurlRequest>(AsShared()));
	}
	Worker = std::thread([this]() { Run(); });
	return true;
}

void FCurlRequest::Run()
{
	CURL* Curl = curl_easy_init();
	CURLcode Result = CURLE_FAILED_INIT;
	long Code = 0;
	if (Curl)
	{
		const std::string Address = Narrow(URL);
		const std::string Method = Narrow(Verb);
		curl_slist* HeaderList = nullptr;
		for (const TPair<FString, FString>& Pair : Headers)
		{
			HeaderList = curl_slist_append(HeaderList, Narrow(Pair.Key + TEXT(": ") + Pair.Value).c_str());
		}
		curl_easy_setopt(Curl, CURLOPT_URL, Address.c_str());
		curl_easy_setopt(Curl, CURLOPT_CUSTOMREQUEST, Method.c_str());
		if (Method == "HEAD")
		{
			curl_easy_setopt(Curl, CURLOPT_NOBODY, 1L);
		}
		if (!Payload.IsEmpty())
		{
			curl_easy_setopt(Curl, CURLOPT_POSTFIELDS, reinterpret_cast<const char*>(Payload.GetData()));
			curl_easy_setopt(Curl, CURLOPT_POSTFIELDSIZE_LARGE, (curl_off_t)Payload.Num());
		}
		curl_easy_setopt(Curl, CURLOPT_HTTPHEADER, HeaderList);
		curl_easy_setopt(Curl, CURLOPT_FOLLOWLOCATION, 1L);
		curl_easy_setopt(Curl, CURLOPT_NOSIGNAL, 1L);
		curl_easy_setopt(Curl, CURLOPT_WRITEFUNCTION, &FCurlRequest::OnBody);
		curl_easy_setopt(Curl, CURLOPT_WRITEDATA, this);
		curl_easy_setopt(Curl, CURLOPT_HEADERFUNCTION, &FCurlRequest::OnHeader);
		curl_easy_setopt(Curl, CURLOPT_HEADERDATA, this);
		curl_easy_setopt(Curl, CURLOPT_NOPROGRESS, 0L);
		curl_easy_setopt(Curl, CURLOPT_XFERINFOFUNCTION, &FCurlRequest::OnTransferInfo);
		curl_easy_setopt(Curl, CURLOPT_XFERINFODATA, this);
		const float Timeout = TimeoutSeconds > 0.0f ? TimeoutSeconds : DefaultTimeout;
		curl_easy_setopt(Curl, CURLOPT_TIMEOUT_MS, (long)(Timeout * 1000.0f));
		Result = curl_easy_perform(Curl);
		curl_easy_getinfo(Curl, CURLINFO_RESPONSE_CODE, &Code);
		curl_slist_free_all(HeaderList);
		curl_easy_cleanup(Curl);
	}
	{
		std::lock_guard<std::mutex> Lock(Mutex);
		// A response counts only when all of it came: a cut-off body (fewer bytes than announced),
		// a timeout or a cancel is a request that did not connect successfully.
		bConnected = Result == CURLE_OK && !Cancelled;
		Response->ResponseCode = (int32)Code;
		if (!bConnected)
		{
			UE_LOG(LogHttp, Warning, TEXT("%s %s: %s"), *Verb, *URL, Cancelled ? TEXT("cancelled") : UTF8_TO_TCHAR(curl_easy_strerror(Result)));
		}
	}
	Finished = true;
}

bool FCurlRequest::TickOnGameThread()
{
	TArray<FString> NewHeaders;
	{
		std::lock_guard<std::mutex> Lock(Mutex);
		for (; ReportedHeaders < Response->Headers.Num(); ++ReportedHeaders)
		{
			NewHeaders.Add(Response->Headers[ReportedHeaders]);
		}
	}
	for (const FString& Header : NewHeaders)
	{
		FString Name;
		FString Value;
		if (Header.Split(TEXT(":"), &Name, &Value))
		{
			HeaderDelegate.ExecuteIfBound(AsShared(), Name.TrimStartAndEnd(), Value.TrimStartAndEnd());
		}
	}
	const uint64 Received = BytesReceived.load();
	const uint64 Sent = BytesSent.load();
	if (Received != ReportedReceived || Sent != ReportedSent)
	{
		ReportedReceived = Received;
		ReportedSent = Sent;
		ProgressDelegate.ExecuteIfBound(AsShared(), Sent, Received);
	}
	if (!Finished.load())
	{
		return false;
	}
	if (Worker.joinable())
	{
		Worker.join();
	}
	const bool bSucceeded = bConnected;
	if (bSucceeded)
	{
		DeliveredResponse = Response;
	}
	Status = bSucceeded ? EHttpRequestStatus::Succeeded : EHttpRequestStatus::Failed;
	CompleteDelegate.ExecuteIfBound(AsShared(), DeliveredResponse, bSucceeded);
	return true;
}

bool FHttpManager::Tick(float DeltaSeconds)
{
	(void)DeltaSeconds;
	TArray<TSharedPtr<FCurlRequest, ESPMode::ThreadSafe>> Requests;
	{
		std::lock_guard<std::mutex> Lock(FInFlight::Get().Mutex);
		Requests = FInFlight::Get().Requests;
	}
	for (const TSharedPtr<FCurlRequest, ESPMode::ThreadSafe>& Request : Requests)
	{
		if (Request->TickOnGameThread())
		{
			std::lock_guard<std::mutex> Lock(FInFlight::Get().Mutex);
			FInFlight::Get().Requests.Remove(Request);
		}
	}
	return true;
}

int32 FHttpManager::GetNumRequestsInFlight() const
{
	std::lock_guard<std::mutex> Lock(FInFlight::Get().Mutex);
	return FInFlight::Get().Requests.Num();
}

void FHttpModule::StartupModule()
{
	HttpManager = new FHttpManager();
	TickerHandle = FTSTicker::GetCoreTicker().AddTicker(FTickerDelegate::CreateLambda([this](float DeltaTime) { return HttpManager->Tick(DeltaTime); }));
}

void FHttpModule::ShutdownModule()
{
	FTSTicker::RemoveTicker(TickerHandle);
	TArray<TSharedPtr<FCurlRequest, ESPMode::ThreadSafe>> Requests;
	{
		std::lock_guard<std::mutex> Lock(FInFlight::Get().Mutex);
		Requests = MoveTemp(FInFlight::Get().Requests);
		FInFlight::Get().Requests.Empty();
	}
	for (const TSharedPtr<FCurlRequest, ESPMode::ThreadSafe>& Request : Requests)
	{
		Request->CancelRequest();
	}
	Requests.Empty();
	delete HttpManager;
	HttpManager = nullptr;
}

FHttpModule& FHttpModule::Get()
{
	return FModuleManager::LoadModuleChecked<FHttpModule>(TEXT("HTTP"));
}

FHttpRequestRef FHttpModule::CreateRequest()
{
	TSharedRef<FCurlRequest, ESPMode::ThreadSafe> Request = MakeShared<FCurlRequest, ESPMode::ThreadSafe>();
	Request->DefaultTimeout = HttpTimeout;
	return Request;
}

FHttpManager& FHttpModule::GetHttpManager()
{
	return *HttpManager;
}

IMPLEMENT_MODULE(FHttpModule, HTTP)
