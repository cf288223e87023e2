// The tool script as the editor module carries it: the Base64 streams of the carriage decode to the
// bundled script, each stream on its own, joined in order.

#include <gtest/gtest.h>

#include "CoreMinimal.h"
#include "Misc/FileHelper.h"
#include "VNToolScript.h"

TEST(ToolScript, CarriageDecodesToTheBundledScript)
{
	FString Bundled;
	ASSERT_TRUE(FFileHelper::LoadFileToString(Bundled, TEXT(VN_BUNDLED_TOOL_SCRIPT)));
	const FString Decoded = VantorelToolScript::DecodeScript();
	EXPECT_FALSE(Decoded.IsEmpty());
	EXPECT_EQ(Decoded, Bundled);
	EXPECT_TRUE(Decoded.StartsWith(TEXT("# ==== vn_tool_loader.py ====\n")));
	EXPECT_TRUE(Decoded.Contains(TEXT("\n# ==== _vantorel_tool/__init__.py ====\n_vn_tool_module('_vantorel_tool', True, \"\"\"\\\n")));
	EXPECT_TRUE(Decoded.EndsWith(TEXT("globals().pop('_vn_tool_module', None)\n")));
}

TEST(ToolScript, StreamsDecodeEachOnItsOwnAndJoinInOrder)
{
	// "hello " split inside a Base64 quantum, then "wörld" (UTF-8 bytes of its own stream), then "!".
	const ANSICHAR* const Hello[] = {"aGVs", "bG8", "g", nullptr};
	const ANSICHAR* const World[] = {"d8O2cmxk", nullptr};
	const ANSICHAR* const Bang[] = {"IQ==", nullptr};
	const ANSICHAR* const* const Streams[] = {Hello, World, Bang, nullptr};
	EXPECT_EQ(VantorelToolScript::DecodeStreams(Streams), FString(TEXT("hello w\u00f6rld!")));

	const ANSICHAR* const* const NoStreams[] = {nullptr};
	EXPECT_EQ(VantorelToolScript::DecodeStreams(NoStreams), FString());
}

TEST(ToolScript, AnyStreamThatDoesNotDecodeGivesTheEmptyText)
{
	const ANSICHAR* const Good[] = {"aGVsbG8=", nullptr};
	const ANSICHAR* const Truncated[] = {"aGVsbG8", nullptr};
	const ANSICHAR* const NotBase64[] = {"aGVs*G8=", nullptr};
	const ANSICHAR* const UrlSafe[] = {"-_-_", nullptr};
	for (const ANSICHAR* const* Bad : {Truncated, NotBase64, UrlSafe})
	{
		const ANSICHAR* const* const BadLast[] = {Good, Bad, nullptr};
		const ANSICHAR* const* const BadFirst[] = {Bad, Good, nullptr};
		EXPECT_EQ(VantorelToolScript::DecodeStreams(BadLast), FString()) << Bad[0];
		EXPECT_EQ(VantorelToolScript::DecodeStreams(BadFirst), FString()) << Bad[0];
	}
}
