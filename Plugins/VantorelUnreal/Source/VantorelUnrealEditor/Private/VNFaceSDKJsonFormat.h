// How the native importer reads the channel, apply-mode and transform-space texts of a Face rig JSON.
#pragma once

#include "CoreMinimal.h"
#include "VNFaceSDKTypes.h"

namespace VNFaceSDKJsonFormat
{
	/**
	 * Returns the channel a text names, compared without blanks and case ("Translate.Y", "ty" and
	 * "translation.y" all name TranslationY). Unset when the text names no channel.
	 */
	TOptional<EVNFaceSDKChannel> ParseChannel(const FString& ChannelText);

	/** "absolute", "set" and "setabsolute" (without blanks, any case) give Absolute; every other text Additive. */
	EVNFaceSDKApplyMode ParseApplyMode(const FString& ModeText);

	/** "world" and "worldspace" (without blanks, any case) give World; every other text Local. */
	EVNFaceSDKTransformSpace ParseTransformSpace(const FString& SpaceText);
}
