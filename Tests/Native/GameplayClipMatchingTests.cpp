// The gameplay assets' names and the matching of imported clips to the template's samples.

#include <gtest/gtest.h>

#include <limits>

#include "CoreMinimal.h"
#include "VNGameplayClipMatching.h"

using namespace VantorelGameplayAssets;

TEST(GameplayAssetNames, TheBaseIsTheMeshNameWithoutItsPrefixInAnyCase)
{
	for (const TCHAR* Mesh : {TEXT("SK_Hero"), TEXT("sk_Hero"), TEXT("Hero")})
	{
		const FAssetNames Names = MakeAssetNames(Mesh);
		EXPECT_EQ(Names.Character, TEXT("BP_Hero")) << TCHAR_TO_UTF8(Mesh);
		EXPECT_EQ(Names.AnimBlueprint, TEXT("ABP_Hero"));
		EXPECT_EQ(Names.BlendSpace, TEXT("BS_Hero_Idle_Walk_Run"));
		EXPECT_EQ(Names.PlayerController, TEXT("BP_Hero_PlayerController"));
		EXPECT_EQ(Names.GameMode, TEXT("BP_Hero_GameMode"));
	}
	// Only a leading prefix goes.
	EXPECT_EQ(MakeAssetNames(TEXT("Hero_SK_")).Character, TEXT("BP_Hero_SK_"));
}

TEST(GameplayClipMatching, ScoresFollowNamesAndKeywords)
{
	EXPECT_EQ(NormaliseClipName(TEXT("MF_Unarmed-Walk Fwd_2")), TEXT("mfunarmedwalkfwd2"));
	// walk in both (+250); fwd only in one, forward only in the other (-25 each).
	EXPECT_EQ(ScoreClipMatch(TEXT("Walk_Fwd"), TEXT("Hero_Walk_Forward")), 200);
	// walk on one side only, idle (or run) on the other only.
	EXPECT_EQ(ScoreClipMatch(TEXT("Walk"), TEXT("Idle")), -160);
	EXPECT_EQ(ScoreClipMatch(TEXT("Walk"), TEXT("Run")), -160);
	// Equal names, which also contain each other, and share their keyword.
	EXPECT_EQ(ScoreClipMatch(TEXT("MM_Idle"), TEXT("mm idle")), 1000 + 400 + 250);
	// Containment alone, with a shared keyword.
	EXPECT_EQ(ScoreClipMatch(TEXT("Idle"), TEXT("Hero_Idle")), 400 + 250);
	// A jog sample and a run clip share no keyword: jog and run each on one side, fwd on one.
	EXPECT_EQ(ScoreClipMatch(TEXT("Jog_Fwd"), TEXT("Hero_Run")), -80 - 80 - 25);
	EXPECT_EQ(ScoreClipMatch(TEXT(""), TEXT("Idle")), std::numeric_limits<int32>::min());
	EXPECT_EQ(ScoreClipMatch(TEXT("Idle"), TEXT("__")), std::numeric_limits<int32>::min());
}

TEST(GameplayClipMatching, TheBestClipIsTheFirstOfTheHighestScoreAboveZero)
{
	const TArray<FString> Clips = {TEXT("Hero_Wave"), TEXT("Hero_Walk_Forward"), TEXT("Hero_Idle"), TEXT("Hero_Walk_Forward_2"), TEXT("Hero_Run_Forward")};
	EXPECT_EQ(FindBestClip(TEXT("MF_Unarmed_Walk_Fwd"), Clips), 1);
	EXPECT_EQ(FindBestClip(TEXT("MM_Idle"), Clips), 2);
	EXPECT_EQ(FindBestClip(TEXT("MF_Unarmed_Run_Fwd"), Clips), 4);
	// Clips named only Idle and Run: a Walk sample scores -160 against each and stays unmatched.
	EXPECT_EQ(FindBestClip(TEXT("Walk"), {TEXT("Idle"), TEXT("Run")}), INDEX_NONE);
	EXPECT_EQ(FindBestClip(TEXT("Walk"), {}), INDEX_NONE);
}
