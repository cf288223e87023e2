// Programs run and waited for, with what they print; and what the headless editor hands to the
// desktop instead of opening it: web pages and project switches.

#include <gtest/gtest.h>

#include <string>

#include "CoreMinimal.h"
#include "HAL/PlatformProcess.h"
#include "HostEditorSupport/ExternalLaunches.h"
#include "UnrealEdMisc.h"

TEST(PlatformProcess, ExecProcessWaitsAndHandsBackTheExitCodeAndBothStreams)
{
	int32 Code = -1;
	FString Out;
	FString Err;
	ASSERT_TRUE(FPlatformProcess::ExecProcess(TEXT("/bin/sh"), TEXT("-c \"printf 'h\\303\\251llo'; printf oops >&2; exit 3\""), &Code, &Out, &Err));
	EXPECT_EQ(Code, 3);
	EXPECT_EQ(Out, TEXT("h\u00e9llo")) << "read as UTF-8";
	EXPECT_EQ(Err, TEXT("oops"));

	// More than a pipe holds, on both streams at once: neither blocks the other.
	ASSERT_TRUE(FPlatformProcess::ExecProcess(TEXT("/bin/sh"), TEXT("-c \"yes a | head -c 300000; yes b | head -c 300000 >&2\""), &Code, &Out, &Err,
		TEXT("/tmp")));
	EXPECT_EQ(Code, 0);
	EXPECT_EQ(Out.Len(), 300000);
	EXPECT_EQ(Err.Len(), 300000);

	ASSERT_TRUE(FPlatformProcess::ExecProcess(TEXT("pwd"), TEXT(""), &Code, &Out, nullptr, TEXT("/usr")));
	EXPECT_EQ(Out, TEXT("/usr\n")) << "the working folder given";
	EXPECT_FALSE(FPlatformProcess::ExecProcess(TEXT("no-such-program-vn"), TEXT(""), &Code, &Out, &Err));
	EXPECT_GT(FPlatformProcess::GetCurrentProcessId(), 0u);
}

TEST(PlatformProcess, WebPagesAndProjectSwitchesAreRecordedNotOpened)
{
	HostEditor::ResetExternalLaunches();
	FString Error = TEXT("stale");
	FPlatformProcess::LaunchURL(TEXT("https://example.test/EULA.html"), nullptr, &Error);
	FPlatformProcess::LaunchURL(TEXT("https://example.test/search"), TEXT("q=1"), nullptr);
	EXPECT_TRUE(Error.IsEmpty());
	ASSERT_EQ(HostEditor::GetLaunchedURLs().Num(), 2);
	EXPECT_EQ(HostEditor::GetLaunchedURLs()[0], TEXT("https://example.test/EULA.html"));
	EXPECT_EQ(HostEditor::GetLaunchedURLs()[1], TEXT("https://example.test/search q=1"));

	FUnrealEdMisc::Get().SwitchProject(TEXT("/tmp/Demos/HeroUnreal/HeroUnreal.uproject"), false, FString(TEXT("-plugin=\"/p/V.uplugin\"")));
	FUnrealEdMisc::Get().SwitchProject(TEXT("/tmp/Other/Other.uproject"));
	ASSERT_EQ(HostEditor::GetProjectSwitches().Num(), 2);
	EXPECT_EQ(HostEditor::GetProjectSwitches()[0].RestartCommand, TEXT("UnrealEditor \"/tmp/Demos/HeroUnreal/HeroUnreal.uproject\" -plugin=\"/p/V.uplugin\""));
	EXPECT_EQ(HostEditor::GetProjectSwitches()[1].CommandLine, TEXT(""));
	EXPECT_EQ(FUnrealEdMisc::Get().GetPendingProjectName(), TEXT("/tmp/Other/Other.uproject"));
	HostEditor::ResetExternalLaunches();
	EXPECT_TRUE(HostEditor::GetLaunchedURLs().IsEmpty());
}
