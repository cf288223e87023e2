// The easing curves RigVM nodes share: the usual polynomial, sine, circular, exponential, elastic,
// back and bounce profiles, each in, out and in-out.
#include "RigVMFunctions/Math/RigVMMathLibrary.h"

namespace
{
	float BounceOut(float P)
	{
		if (P < 4.f / 11.f)
		{
			return (121.f * P * P) / 16.f;
		}
		if (P < 8.f / 11.f)
		{
			return (363.f / 40.f * P * P) - (99.f / 10.f * P) + 17.f / 5.f;
		}
		if (P < 9.f / 10.f)
		{
			return (4356.f / 361.f * P * P) - (35442.f / 1805.f * P) + 16061.f / 1805.f;
		}
		return (54.f / 5.f * P * P) - (513.f / 25.f * P) + 268.f / 25.f;
	}

	float BounceIn(float P)
	{
		return 1.f - BounceOut(1.f - P);
	}

	/** The cubic that dips below zero before it rises: the "back" profile's ease in. */
	float BackIn(float P)
	{
		return P * P * P - P * FMath::Sin(P * UE_PI);
	}
}

float FRigVMMathLibrary::EaseFloat(float Value, ERigVMAnimEasingType Type)
{
	const float P = Value;
	switch (Type)
	{
	case ERigVMAnimEasingType::Linear:
		return P;
	case ERigVMAnimEasingType::QuadraticEaseIn:
		return P * P;
	case ERigVMAnimEasingType::QuadraticEaseOut:
		return -(P * (P - 2.f));
	case ERigVMAnimEasingType::QuadraticEaseInOut:
		return P < 0.5f ? 2.f * P * P : (-2.f * P * P) + (4.f * P) - 1.f;
	case ERigVMAnimEasingType::CubicEaseIn:
		return P * P * P;
	case ERigVMAnimEasingType::CubicEaseOut:
	{
		const float F = P - 1.f;
		return F * F * F + 1.f;
	}
	case ERigVMAnimEasingType::CubicEaseInOut:
	{
		if (P < 0.5f)
		{
			return 4.f * P * P * P;
		}
		const float F = 2.f * P - 2.f;
		return 0.5f * F * F * F + 1.f;
	}
	case ERigVMAnimEasingType::QuarticEaseIn:
		return P * P * P * P;
	case ERigVMAnimEasingType::QuarticEaseOut:
	{
		const float F = P - 1.f;
		return F * F * F * (1.f - P) + 1.f;
	}
	case ERigVMAnimEasingType::QuarticEaseInOut:
	{
		if (P < 0.5f)
		{
			return 8.f * P * P * P * P;
		}
		const float F = P - 1.f;
		return -8.f * F * F * F * F + 1.f;
	}
	case ERigVMAnimEasingType::QuinticEaseIn:
		return P * P * P * P * P;
	case ERigVMAnimEasingType::QuinticEaseOut:
	{
		const float F = P - 1.f;
		return F * F * F * F * F + 1.f;
	}
	case ERigVMAnimEasingType::QuinticEaseInOut:
	{
		if (P < 0.5f)
		{
			return 16.f * P * P * P * P * P;
		}
		const float F = 2.f * P - 2.f;
		return 0.5f * F * F * F * F * F + 1.f;
	}
	case ERigVMAnimEasingType::SineEaseIn:
		return FMath::Sin((P - 1.f) * UE_HALF_PI) + 1.f;
	case ERigVMAnimEasingType::SineEaseOut:
		return FMath::Sin(P * UE_HALF_PI);
	case ERigVMAnimEasingType::SineEaseInOut:
		return 0.5f * (1.f - FMath::Cos(P * UE_PI));
	case ERigVMAnimEasingType::CircularEaseIn:
		return 1.f - FMath::Sqrt(1.f - (P * P));
	case ERigVMAnimEasingType::CircularEaseOut:
		return FMath::Sqrt((2.f - P) * P);
	case ERigVMAnimEasingType::CircularEaseInOut:
		if (P < 0.5f)
		{
			return 0.5f * (1.f - FMath::Sqrt(1.f - 4.f * (P * P)));
		}
		return 0.5f * (FMath::Sqrt(-((2.f * P) - 3.f) * ((2.f * P) - 1.f)) + 1.f);
	case ERigVMAnimEasingType::ExponentialEaseIn:
		return P == 0.f ? P : FMath::Pow(2.f, 10.f * (P - 1.f));
	case ERigVMAnimEasingType::ExponentialEaseOut:
		return P == 1.f ? P : 1.f - FMath::Pow(2.f, -10.f * P);
	case ERigVMAnimEasingType::ExponentialEaseInOut:
		if (P == 0.f || P == 1.f)
		{
			return P;
		}
		if (P < 0.5f)
		{
			return 0.5f * FMath::Pow(2.f, (20.f * P) - 10.f);
		}
		return -0.5f * FMath::Pow(2.f, (-20.f * P) + 10.f) + 1.f;
	case ERigVMAnimEasingType::ElasticEaseIn:
		return FMath::Sin(13.f * UE_HALF_PI * P) * FMath::Pow(2.f, 10.f * (P - 1.f));
	case ERigVMAnimEasingType::ElasticEaseOut:
		return FMath::Sin(-13.f * UE_HALF_PI * (P + 1.f)) * FMath::Pow(2.f, -10.f * P) + 1.f;
	case ERigVMAnimEasingType::ElasticEaseInOut:
		if (P < 0.5f)
		{
			return 0.5f * FMath::Sin(13.f * UE_HALF_PI * (2.f * P)) * FMath::Pow(2.f, 10.f * ((2.f * P) - 1.f));
		}
		return 0.5f * (FMath::Sin(-13.f * UE_HALF_PI * ((2.f * P - 1.f) + 1.f)) * FMath::Pow(2.f, -10.f * (2.f * P - 1.f)) + 2.f);
	case ERigVMAnimEasingType::BackEaseIn:
		return BackIn(P);
	case ERigVMAnimEasingType::BackEaseOut:
		return 1.f - BackIn(1.f - P);
	case ERigVMAnimEasingType::BackEaseInOut:
		if (P < 0.5f)
		{
			return 0.5f * BackIn(2.f * P);
		}
		return 0.5f * (1.f - BackIn(1.f - (2.f * P - 1.f))) + 0.5f;
	case ERigVMAnimEasingType::BounceEaseIn:
		return BounceIn(P);
	case ERigVMAnimEasingType::BounceEaseOut:
		return BounceOut(P);
	case ERigVMAnimEasingType::BounceEaseInOut:
		if (P < 0.5f)
		{
			return 0.5f * BounceIn(P * 2.f);
		}
		return 0.5f * BounceOut(P * 2.f - 1.f) + 0.5f;
	}
	return P;
}
