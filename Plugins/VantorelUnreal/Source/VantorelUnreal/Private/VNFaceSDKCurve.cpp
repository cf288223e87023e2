#include "VNFaceSDKCurve.h"

namespace
{
	/**
	 * Finds the keys with the largest input at or below X and the smallest input at or above it, so that
	 * curves evaluate the same whatever order their keys were written in. Either index may be INDEX_NONE.
	 */
	template <typename KeyType>
	void FindBracketingKeys(const TArray<KeyType>& Keys, float X, int32& OutBelow, int32& OutAbove)
	{
		OutBelow = INDEX_NONE;
		OutAbove = INDEX_NONE;
		for (int32 Index = 0; Index < Keys.Num(); ++Index)
		{
			const float KeyX = Keys[Index].X;
			if (KeyX <= X && (OutBelow == INDEX_NONE || KeyX > Keys[OutBelow].X))
			{
				OutBelow = Index;
			}
			if (KeyX >= X && (OutAbove == INDEX_NONE || KeyX < Keys[OutAbove].X))
			{
				OutAbove = Index;
			}
		}
	}

	/** Returns where X lies between the inputs of two keys, from 0 to 1. */
	float BlendAlpha(float BelowX, float AboveX, float X)
	{
		const float Span = AboveX - BelowX;
		return Span > UE_SMALL_NUMBER ? (X - BelowX) / Span : 0.0f;
	}
}

namespace VNFaceSDKCurve
{
	float Evaluate(const TArray<FVNSDKKey>& Keys, float X)
	{
		int32 Below = INDEX_NONE;
		int32 Above = INDEX_NONE;
		FindBracketingKeys(Keys, X, Below, Above);
		if (Below == INDEX_NONE && Above == INDEX_NONE)
		{
			return 0.0f;
		}
		if (Below == INDEX_NONE || Above == INDEX_NONE || Below == Above)
		{
			return Keys[Below == INDEX_NONE ? Above : Below].Y;
		}
		const float Alpha = BlendAlpha(Keys[Below].X, Keys[Above].X, X);
		return FMath::Lerp(Keys[Below].Y, Keys[Above].Y, Alpha);
	}

	FQuat EvaluateRotation(const TArray<FVNSDKQuaternionKey>& Keys, float X)
	{
		int32 Below = INDEX_NONE;
		int32 Above = INDEX_NONE;
		FindBracketingKeys(Keys, X, Below, Above);
		if (Below == INDEX_NONE && Above == INDEX_NONE)
		{
			return FQuat::Identity;
		}
		if (Below == INDEX_NONE || Above == INDEX_NONE || Below == Above)
		{
			return Keys[Below == INDEX_NONE ? Above : Below].Value.GetNormalized();
		}
		const float Alpha = BlendAlpha(Keys[Below].X, Keys[Above].X, X);
		return FQuat::Slerp(Keys[Below].Value.GetNormalized(), Keys[Above].Value.GetNormalized(), Alpha);
	}
}
