// The HTTP module against a real server on loopback: a file with its progress, status codes, a body
// cut short, a server too slow for the timeout, a cancel and an address nothing listens on. The
// delegates run on the game thread, in the engine loop's frames.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CoreMinimal.h"
#include "HostEditorSupport/HostEditorSession.h"
#include "HttpManager.h"
#include "HttpModule.h"
#include "Interfaces/IHttpRequest.h"
#include "Interfaces/IHttpResponse.h"

namespace
{
	namespace fs = std::filesystem;

	std::string Narrow(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}

	/** The loopback server of the tests, run as its own process for the test suite. */
	class LoopbackServer
	{
	public:
		explicit LoopbackServer(const fs::path& Root)
		{
			int Pipe[2];
			if (pipe(Pipe) != 0)
			{
				return;
			}
			Child = fork();
			if (Child == 0)
			{
				dup2(Pipe[1], STDOUT_FILENO);
				close(Pipe[0]);
				const std::string Script = std::string(VN_SOURCE_DIR) + "/Tests/Python/loopback_server.py";
				execl("/usr/bin/python3", "python3", Script.c_str(), Root.c_str(), (char*)nullptr);
				_exit(127);
			}
			close(Pipe[1]);
			FILE* Out = fdopen(Pipe[0], "r");
			char Line[64] = {};
			if (Out && fgets(Line, sizeof(Line), Out))
			{
				std::sscanf(Line, "PORT %d", &Port);
			}
			if (Out)
			{
				fclose(Out);
			}
		}

		~LoopbackServer()
		{
			if (Child > 0)
			{
				kill(Child, SIGTERM);
				waitpid(Child, nullptr, 0);
			}
		}

		FString Url(const char* Path) const
		{
			return FString::Printf(TEXT("http://127.0.0.1:%d/%s"), Port, UTF8_TO_TCHAR(Path));
		}

		int Port = 0;

	private:
		pid_t Child = -1;
	};

	struct FOutcome
	{
		bool bCompleted = false;
		bool bConnected = false;
		int32 Code = 0;
		TArray<uint8> Body;
		TArray<uint64> Progress;
		TMap<FString, FString> Headers;
		/** Whether every header came before the first progress and the completion. */
		bool bHeadersFirst = true;
		int32 CallsOffGameThread = 0;
	};

	class HttpModuleTest : public ::testing::Test
	{
	protected:
		static void SetUpTestSuite()
		{
			// One folder per test process: CTest runs the suite's tests as processes side by side.
			Root = fs::temp_directory_path() / ("vn_http_tests_" + std::to_string(getpid()));
			fs::remove_all(Root);
			fs::create_directories(Root);
			std::ofstream(Root / "list.txt") << "Hero 1.0\nVillain 2.3\n";
			std::ofstream Big(Root / "big.bin", std::ios::binary);
			for (int Index = 0; Index < 3 * 1024 * 1024; ++Index)
			{
				Big.put((char)(Index % 251));
			}
			Big.close();
			Server = new LoopbackServer(Root);
		}

		static void TearDownTestSuite()
		{
			delete Server;
			Server = nullptr;
			fs::remove_all(Root);
		}

		void SetUp() override
		{
			ASSERT_GT(Server->Port, 0) << "the loopback server did not start";
			FString Error;
			ASSERT_TRUE(HostEditor::StartEditor(FString(UTF8_TO_TCHAR((Root / "Project").string().c_str())), {}, Error)) << Narrow(Error);
		}

		void TearDown() override
		{
			HostEditor::ShutdownEditor();
		}

		/** Sends a GET for Url and runs frames until it completes. */
		static FOutcome Get(const FString& Url, float Timeout = 0.0f, bool bCancelAtOnce = false)
		{
			TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
			FHttpRequestRef Request = FHttpModule::Get().CreateRequest();
			Request->SetURL(Url);
			Request->SetVerb(TEXT("GET"));
			if (Timeout > 0.0f)
			{
				Request->SetTimeout(Timeout);
			}
			const std::thread::id GameThread = std::this_thread::get_id();
			Request->OnHeaderReceived().BindLambda([Outcome, GameThread](FHttpRequestPtr, const FString& Name, const FString& Value) {
				Outcome->Headers.Add(Name.ToLower(), Value);
				Outcome->bHeadersFirst &= Outcome->Progress.IsEmpty() && !Outcome->bCompleted;
				Outcome->CallsOffGameThread += std::this_thread::get_id() != GameThread ? 1 : 0;
			});
			Request->OnRequestProgress64().BindLambda([Outcome, GameThread](FHttpRequestPtr, uint64, uint64 Received) {
				Outcome->Progress.Add(Received);
				Outcome->CallsOffGameThread += std::this_thread::get_id() != GameThread ? 1 : 0;
			});
			Request->OnProcessRequestComplete().BindLambda([Outcome, GameThread](FHttpRequestPtr, FHttpResponsePtr Response, bool bConnected) {
				Outcome->bCompleted = true;
				Outcome->bConnected = bConnected;
				Outcome->Code = Response ? Response->GetResponseCode() : 0;
				Outcome->Body = Response ? Response->GetContent() : TArray<uint8>();
				Outcome->CallsOffGameThread += std::this_thread::get_id() != GameThread ? 1 : 0;
			});
			EXPECT_TRUE(Request->ProcessRequest());
			EXPECT_EQ(Request->GetStatus(), EHttpRequestStatus::Processing);
			if (bCancelAtOnce)
			{
				Request->CancelRequest();
			}
			EXPECT_FALSE(Outcome->bCompleted) << "nothing completes outside a frame";
			EXPECT_TRUE(HostEditor::RunFramesUntil([Outcome]() { return Outcome->bCompleted; }, 30.0));
			EXPECT_EQ(Request->GetStatus(), Outcome->bConnected ? EHttpRequestStatus::Succeeded : EHttpRequestStatus::Failed);
			EXPECT_EQ(FHttpModule::Get().GetHttpManager().GetNumRequestsInFlight(), 0);
			return *Outcome;
		}

		static inline fs::path Root;
		static inline LoopbackServer* Server = nullptr;
	};
}

TEST_F(HttpModuleTest, AFileArrivesWholeWithItsProgressOnTheGameThread)
{
	const FOutcome Text = Get(Server->Url("list.txt"));
	EXPECT_TRUE(Text.bConnected);
	EXPECT_EQ(Text.Code, 200);
	EXPECT_EQ(std::string(reinterpret_cast<const char*>(Text.Body.GetData()), Text.Body.Num()), "Hero 1.0\nVillain 2.3\n");

	const FOutcome Big = Get(Server->Url("drip/big.bin"));
	EXPECT_TRUE(Big.bConnected);
	ASSERT_EQ(Big.Body.Num(), 3 * 1024 * 1024);
	EXPECT_EQ(Big.Body[1000], (uint8)(1000 % 251));
	ASSERT_GE(Big.Progress.Num(), 2) << "progress comes while the body arrives";
	for (int32 Index = 1; Index < Big.Progress.Num(); ++Index)
	{
		EXPECT_GT(Big.Progress[Index], Big.Progress[Index - 1]);
	}
	EXPECT_EQ(Big.Progress.Last(), (uint64)(3 * 1024 * 1024));
	// The headers come first, by name and value, so a download knows its length before its body.
	ASSERT_TRUE(Big.Headers.Contains(TEXT("content-length")));
	EXPECT_EQ(Big.Headers[TEXT("content-length")], TEXT("3145728"));
	EXPECT_EQ(Big.Headers[TEXT("content-type")], TEXT("application/octet-stream"));
	EXPECT_TRUE(Big.bHeadersFirst);
	EXPECT_EQ(Big.CallsOffGameThread + Text.CallsOffGameThread, 0);
}

TEST_F(HttpModuleTest, StatusCodesComeWithTheirResponse)
{
	for (const int32 Code : {404, 429, 500})
	{
		const FOutcome Outcome = Get(Server->Url(Code == 404 ? "missing.txt" : (Code == 429 ? "status/429/x" : "status/500/x")));
		EXPECT_TRUE(Outcome.bConnected) << Code;
		EXPECT_EQ(Outcome.Code, Code);
	}
}

TEST_F(HttpModuleTest, ACutOffBodyATimeoutACancelAndNoServerEndWithoutAResponse)
{
	const FOutcome Truncated = Get(Server->Url("truncated/big.bin"));
	EXPECT_FALSE(Truncated.bConnected);
	EXPECT_EQ(Truncated.Code, 0);
	EXPECT_TRUE(Truncated.Body.IsEmpty());

	const FOutcome Slow = Get(Server->Url("slow/5/list.txt"), 0.5f);
	EXPECT_FALSE(Slow.bConnected);

	const FOutcome Cancelled = Get(Server->Url("slow/5/list.txt"), 0.0f, true);
	EXPECT_FALSE(Cancelled.bConnected);

	// A port nothing listens on: the server's own, once it is gone, is not guessable; port 9 is discard.
	const FOutcome Nobody = Get(TEXT("http://127.0.0.1:9/list.txt"), 5.0f);
	EXPECT_FALSE(Nobody.bConnected);
}
