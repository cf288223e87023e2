#include "VNGameplayClipMatching.h"

#include <limits>


namespace
{
	const TCHAR* const MainKeywords[] = {TEXT("idle"), TEXT("walk"), TEXT("run"), TEXT("jog"), TEXT("sprint"), TEXT("jump"), TEXT("fall"), TEXT("land"), TEXT("turn")};
	const TCHAR* const DirectionKeywords[] = {TEXT("forward"), TEXT("fwd"), TEXT("backward"), TEXT("bwd"), TEXT("left"), TEXT("right")};

	/** Adds Shared when both names hold a keyword, Lone (a negative) when only one does. */
	template <int32 Count>
	int32 KeywordScore(const FString& A, const FString& B, const TCHAR* const (&Keywords)[Count], int32 Shared, int32 Lone)
	{
		int32 Score = 0;
		for (const TCHAR* Keyword : Keywords)
		{
			const bool bInA = A.Contains(Keyword, ESearchCase::CaseSensitive);
			const bool bInB = B.Contains(Keyword, ESearchCase::CaseSensitive);
			Score += bInA && bInB ? Shared : bInA != bInB ? Lone : 0;
		}
		return Score;
	}
}

VantorelGameplayAssets::FAssetNames VantorelGameplayAssets::MakeAssetNames(const FString& MeshAssetName)
{
	const FString Base = MeshAssetName.StartsWith(TEXT("SK_"), ESearchCase::IgnoreCase) ? MeshAssetName.Mid(3) : MeshAssetName;
	FAssetNames Names;
	Names.BlendSpace = TEXT("BS_") + Base + TEXT("_Idle_Walk_Run");
	Names.AnimBlueprint = TEXT("ABP_") + Base;
	Names.Character = TEXT("BP_") + Base;
	Names.PlayerController = TEXT("BP_") + Base + TEXT("_PlayerController");
	Names.GameMode = TEXT("BP_") + Base + TEXT("_GameMode");
	return Names;
}

FString VantorelGameplayAssets::NormaliseClipName(const FString& Name)
{
	FString Normalised;
	for (const TCHAR Character : Name)
	{
		if ((Character >= TEXT('a') && Character <= TEXT('z')) || (Character >= TEXT('0') && Character <= TEXT('9')))
		{
			Normalised.AppendChar(Character);
		}
		else if (Character >= TEXT('A') && Character <= TEXT('Z'))
		{
			Normalised.AppendChar(Character - TEXT('A') + TEXT('a'));
		}
	}
	return Normalised;
}

int32 VantorelGameplayAssets::ScoreClipMatch(const FString& TemplateName, const FString& ClipName)
{
	const FString Template = NormaliseClipName(TemplateName);
	const FString Clip = NormaliseClipName(ClipName);
	if (Template.IsEmpty() || Clip.IsEmpty())
	{
		return std::numeric_limits<int32>::min();
	}
	int32 Score = Template == Clip ? 1000 : 0;
	if (Template.Contains(Clip, ESearchCase::CaseSensitive) || Clip.Contains(Template, ESearchCase::CaseSensitive))
	{
		Score += 400;
	}
	Score += KeywordScore(Template, Clip, MainKeywords, 250, -80);
	Score += KeywordScore(Template, Clip, DirectionKeywords, 100, -25);
	return Score;
}

int32 VantorelGameplayAssets::FindBestClip(const FString& TemplateName, const TArray<FString>& ClipNames)
{
	int32 Best = INDEX_NONE;
	int32 BestScore = 0;
	for (int32 Index = 0; Index < ClipNames.Num(); ++Index)
	{
		const int32 Score = ScoreClipMatch(TemplateName, ClipNames[Index]);
		if (Score > BestScore)
		{
			Best = Index;
			BestScore = Score;
		}
	}
	return Best;
}
