// Shared types of the RigVM math library.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "RigVMMathLibrary.generated.h"

/** The easing curves that RigVM nodes offer for ramps and distributions. */
UENUM()
enum class ERigVMAnimEasingType : uint8
{
	Linear,
	QuadraticEaseIn,
	QuadraticEaseOut,
	QuadraticEaseInOut,
	CubicEaseIn,
	CubicEaseOut,
	CubicEaseInOut,
	QuarticEaseIn,
	QuarticEaseOut,
	QuarticEaseInOut,
	QuinticEaseIn,
	QuinticEaseOut,
	QuinticEaseInOut,
	SineEaseIn,
	SineEaseOut,
	SineEaseInOut,
	CircularEaseIn,
	CircularEaseOut,
	CircularEaseInOut,
	ExponentialEaseIn,
	ExponentialEaseOut,
	ExponentialEaseInOut,
	ElasticEaseIn,
	ElasticEaseOut,
	ElasticEaseInOut,
	BackEaseIn,
	BackEaseOut,
	BackEaseInOut,
	BounceEaseIn,
	BounceEaseOut,
	BounceEaseInOut,
};

/** Math helpers that RigVM nodes share. */
class RIGVM_API FRigVMMathLibrary
{
public:
	/** Returns Value, a ratio in [0, 1], passed through the easing curve Type (0 stays 0, 1 stays 1). */
	static float EaseFloat(float Value, ERigVMAnimEasingType Type);
};
