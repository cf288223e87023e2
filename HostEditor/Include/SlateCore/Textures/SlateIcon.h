// FSlateIcon: names a brush in a style set; the default-constructed icon means "no icon".
#pragma once

#include "CoreMinimal.h"

struct SLATECORE_API FSlateIcon
{
public:
	FSlateIcon() = default;
	FSlateIcon(const FName InStyleSetName, const FName InStyleName) : StyleSetName(InStyleSetName), StyleName(InStyleName), bIsSet(true) {}

	bool IsSet() const { return bIsSet; }
	const FName& GetStyleSetName() const { return StyleSetName; }
	const FName& GetStyleName() const { return StyleName; }

private:
	FName StyleSetName;
	FName StyleName;
	bool bIsSet = false;
};
