// The tool script as the editor module carries it: the Base64 carriage decodes to the bundled script.

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
	EXPECT_TRUE(Decoded.StartsWith(TEXT("# ---- vn_tool.py ----\n")));
}
