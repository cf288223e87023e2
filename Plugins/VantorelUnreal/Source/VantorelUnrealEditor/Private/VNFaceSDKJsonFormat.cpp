#include "VNFaceSDKJsonFormat.h"

namespace
{
	struct FChannelSpelling
	{
		const TCHAR* Spelling;
		EVNFaceSDKChannel Channel;
	};

	/** Every spelling the native importer accepts, lower case and without blanks. */
	const FChannelSpelling ChannelSpellings[] = {
		{TEXT("translation.x"), EVNFaceSDKChannel::TranslationX},
		{TEXT("translate.x"), EVNFaceSDKChannel::TranslationX},
		{TEXT("tx"), EVNFaceSDKChannel::TranslationX},
		{TEXT("translation.y"), EVNFaceSDKChannel::TranslationY},
		{TEXT("translate.y"), EVNFaceSDKChannel::TranslationY},
		{TEXT("ty"), EVNFaceSDKChannel::TranslationY},
		{TEXT("translation.z"), EVNFaceSDKChannel::TranslationZ},
		{TEXT("translate.z"), EVNFaceSDKChannel::TranslationZ},
		{TEXT("tz"), EVNFaceSDKChannel::TranslationZ},
		{TEXT("rotation.x"), EVNFaceSDKChannel::RotationX},
		{TEXT("rotate.x"), EVNFaceSDKChannel::RotationX},
		{TEXT("rx"), EVNFaceSDKChannel::RotationX},
		{TEXT("rotation.y"), EVNFaceSDKChannel::RotationY},
		{TEXT("rotate.y"), EVNFaceSDKChannel::RotationY},
		{TEXT("ry"), EVNFaceSDKChannel::RotationY},
		{TEXT("rotation.z"), EVNFaceSDKChannel::RotationZ},
		{TEXT("rotate.z"), EVNFaceSDKChannel::RotationZ},
		{TEXT("rz"), EVNFaceSDKChannel::RotationZ},
		{TEXT("rotation"), EVNFaceSDKChannel::Rotation},
		{TEXT("scale.x"), EVNFaceSDKChannel::ScaleX},
		{TEXT("sx"), EVNFaceSDKChannel::ScaleX},
		{TEXT("scale.y"), EVNFaceSDKChannel::ScaleY},
		{TEXT("sy"), EVNFaceSDKChannel::ScaleY},
		{TEXT("scale.z"), EVNFaceSDKChannel::ScaleZ},
		{TEXT("sz"), EVNFaceSDKChannel::ScaleZ},
		{TEXT("value.x"), EVNFaceSDKChannel::ValueX},
		{TEXT("valuex"), EVNFaceSDKChannel::ValueX},
		{TEXT("value.y"), EVNFaceSDKChannel::ValueY},
		{TEXT("valuey"), EVNFaceSDKChannel::ValueY},
		{TEXT("value.z"), EVNFaceSDKChannel::ValueZ},
		{TEXT("valuez"), EVNFaceSDKChannel::ValueZ},
		{TEXT("value.float"), EVNFaceSDKChannel::ValueFloat},
		{TEXT("valuefloat"), EVNFaceSDKChannel::ValueFloat},
		{TEXT("float"), EVNFaceSDKChannel::ValueFloat},
	};

	/** Lower-cases a text and drops its blanks. */
	FString NormaliseWithoutBlanks(const FString& Text)
	{
		FString Result;
		Result.Reserve(Text.Len());
		for (const TCHAR Char : Text)
		{
			if (!FChar::IsWhitespace(Char))
			{
				Result.AppendChar(FChar::ToLower(Char));
			}
		}
		return Result;
	}
}

namespace VNFaceSDKJsonFormat
{
	TOptional<EVNFaceSDKChannel> ParseChannel(const FString& ChannelText)
	{
		const FString Normalised = NormaliseWithoutBlanks(ChannelText);
		for (const FChannelSpelling& Entry : ChannelSpellings)
		{
			if (Normalised.Equals(Entry.Spelling, ESearchCase::CaseSensitive))
			{
				return Entry.Channel;
			}
		}
		return TOptional<EVNFaceSDKChannel>();
	}

	EVNFaceSDKApplyMode ParseApplyMode(const FString& ModeText)
	{
		const FString Normalised = NormaliseWithoutBlanks(ModeText);
		const bool bAbsolute = Normalised.Equals(TEXT("absolute"), ESearchCase::CaseSensitive)
			|| Normalised.Equals(TEXT("set"), ESearchCase::CaseSensitive)
			|| Normalised.Equals(TEXT("setabsolute"), ESearchCase::CaseSensitive);
		return bAbsolute ? EVNFaceSDKApplyMode::Absolute : EVNFaceSDKApplyMode::Additive;
	}

	EVNFaceSDKTransformSpace ParseTransformSpace(const FString& SpaceText)
	{
		const FString Normalised = NormaliseWithoutBlanks(SpaceText);
		const bool bWorld = Normalised.Equals(TEXT("world"), ESearchCase::CaseSensitive)
			|| Normalised.Equals(TEXT("worldspace"), ESearchCase::CaseSensitive);
		return bWorld ? EVNFaceSDKTransformSpace::World : EVNFaceSDKTransformSpace::Local;
	}
}
