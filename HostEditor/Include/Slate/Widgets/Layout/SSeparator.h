// SSeparator: a thin line between groups of widgets.
#pragma once

#include "CoreMinimal.h"
#include "Types/SlateEnums.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/Layout/SBorder.h"

class SLATE_API SSeparator : public SBorder
{
public:
	SLATE_BEGIN_ARGS(SSeparator) : _Orientation(Orient_Horizontal), _Thickness(1.0f) {}
		SLATE_ARGUMENT(EOrientation, Orientation)
		SLATE_ARGUMENT(float, Thickness)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);

private:
	EOrientation Orientation = Orient_Horizontal;
	float Thickness = 1.0f;
};
