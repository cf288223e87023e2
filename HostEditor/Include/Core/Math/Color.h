// FLinearColor (floating-point linear RGBA) and FColor (8-bit sRGB-encoded BGRA).
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Math/MathFwd.h"
#include "Math/UnrealMathUtility.h"
#include "Math/Vector.h"
#include "Math/Vector4.h"
#include "Misc/AssertionMacros.h"
#include "Templates/TypeHash.h"

struct FColor;

/** A color with linear floating-point red, green, blue and alpha. */
struct CORE_API FLinearColor
{
	/** Red. */
	float R;
	/** Green. */
	float G;
	/** Blue. */
	float B;
	/** Alpha (opacity). */
	float A;

	/** (1, 1, 1, 1). */
	static const FLinearColor White;
	/** (0.5, 0.5, 0.5, 1). */
	static const FLinearColor Gray;
	/** (0, 0, 0, 1). */
	static const FLinearColor Black;
	/** (0, 0, 0, 0). */
	static const FLinearColor Transparent;
	/** (1, 0, 0, 1). */
	static const FLinearColor Red;
	/** (0, 1, 0, 1). */
	static const FLinearColor Green;
	/** (0, 0, 1, 1). */
	static const FLinearColor Blue;
	/** (1, 1, 0, 1). */
	static const FLinearColor Yellow;

	/** Makes transparent black (0, 0, 0, 0). */
	constexpr FLinearColor()
		: R(0), G(0), B(0), A(0)
	{
	}

	/** Makes transparent black (0, 0, 0, 0). */
	explicit constexpr FLinearColor(EForceInit::Type)
		: R(0), G(0), B(0), A(0)
	{
	}

	/** Makes a color from its channels; alpha defaults to opaque. */
	constexpr FLinearColor(const float InR, const float InG, const float InB, const float InA = 1.0f)
		: R(InR), G(InG), B(InB), A(InA)
	{
	}

	/** Decodes an 8-bit color: RGB through the sRGB curve, alpha linearly. */
	explicit FLinearColor(const FColor& Color);

	/** Makes an opaque color from a vector's X, Y and Z. */
	explicit FLinearColor(const FVector& Vector)
		: R((float)Vector.X), G((float)Vector.Y), B((float)Vector.Z), A(1.0f)
	{
	}

	/** Makes a color from a 4D vector's X, Y, Z and W. */
	explicit FLinearColor(const FVector4& Vector)
		: R((float)Vector.X), G((float)Vector.Y), B((float)Vector.Z), A((float)Vector.W)
	{
	}

	/** Returns the channel at Index (0 red to 3 alpha). */
	float& Component(const int32 Index)
	{
		check(Index >= 0 && Index < 4);
		return Index == 0 ? R : (Index == 1 ? G : (Index == 2 ? B : A));
	}

	/** Returns the channel at Index (0 red to 3 alpha). */
	float Component(const int32 Index) const
	{
		check(Index >= 0 && Index < 4);
		return Index == 0 ? R : (Index == 1 ? G : (Index == 2 ? B : A));
	}

	/** Returns the channel-wise sum, alpha included. */
	constexpr FLinearColor operator+(const FLinearColor& Other) const { return FLinearColor(R + Other.R, G + Other.G, B + Other.B, A + Other.A); }
	/** Adds Other channel-wise. */
	constexpr FLinearColor& operator+=(const FLinearColor& Other) { R += Other.R; G += Other.G; B += Other.B; A += Other.A; return *this; }
	/** Returns the channel-wise difference, alpha included. */
	constexpr FLinearColor operator-(const FLinearColor& Other) const { return FLinearColor(R - Other.R, G - Other.G, B - Other.B, A - Other.A); }
	/** Subtracts Other channel-wise. */
	constexpr FLinearColor& operator-=(const FLinearColor& Other) { R -= Other.R; G -= Other.G; B -= Other.B; A -= Other.A; return *this; }
	/** Returns the channel-wise product, alpha included. */
	constexpr FLinearColor operator*(const FLinearColor& Other) const { return FLinearColor(R * Other.R, G * Other.G, B * Other.B, A * Other.A); }
	/** Multiplies by Other channel-wise. */
	constexpr FLinearColor& operator*=(const FLinearColor& Other) { R *= Other.R; G *= Other.G; B *= Other.B; A *= Other.A; return *this; }
	/** Returns every channel, alpha included, multiplied by Scalar. */
	constexpr FLinearColor operator*(const float Scalar) const { return FLinearColor(R * Scalar, G * Scalar, B * Scalar, A * Scalar); }
	/** Multiplies every channel, alpha included, by Scalar. */
	constexpr FLinearColor& operator*=(const float Scalar) { R *= Scalar; G *= Scalar; B *= Scalar; A *= Scalar; return *this; }
	/** Returns the channel-wise quotient, alpha included. */
	constexpr FLinearColor operator/(const FLinearColor& Other) const { return FLinearColor(R / Other.R, G / Other.G, B / Other.B, A / Other.A); }
	/** Divides by Other channel-wise. */
	constexpr FLinearColor& operator/=(const FLinearColor& Other) { R /= Other.R; G /= Other.G; B /= Other.B; A /= Other.A; return *this; }

	/** Returns every channel, alpha included, divided by Scalar. */
	constexpr FLinearColor operator/(const float Scalar) const
	{
		const float InvScalar = 1.0f / Scalar;
		return FLinearColor(R * InvScalar, G * InvScalar, B * InvScalar, A * InvScalar);
	}

	/** Divides every channel, alpha included, by Scalar. */
	constexpr FLinearColor& operator/=(const float Scalar)
	{
		const float InvScalar = 1.0f / Scalar;
		R *= InvScalar;
		G *= InvScalar;
		B *= InvScalar;
		A *= InvScalar;
		return *this;
	}

	/** True when all four channels are exactly equal. */
	constexpr bool operator==(const FLinearColor& Other) const { return R == Other.R && G == Other.G && B == Other.B && A == Other.A; }
	/** True when any channel differs. */
	constexpr bool operator!=(const FLinearColor& Other) const { return !(*this == Other); }

	/** True when all four channels are within Tolerance of Other's. */
	bool Equals(const FLinearColor& Other, const float Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(R - Other.R) < Tolerance && FMath::Abs(G - Other.G) < Tolerance
			&& FMath::Abs(B - Other.B) < Tolerance && FMath::Abs(A - Other.A) < Tolerance;
	}

	/** Returns the color with every channel clamped to [InMin, InMax]. */
	FLinearColor GetClamped(const float InMin = 0.0f, const float InMax = 1.0f) const
	{
		return FLinearColor(FMath::Clamp(R, InMin, InMax), FMath::Clamp(G, InMin, InMax), FMath::Clamp(B, InMin, InMax), FMath::Clamp(A, InMin, InMax));
	}

	/** Returns this color with the alpha replaced by NewOpacity. */
	constexpr FLinearColor CopyWithNewOpacity(const float NewOpacity) const
	{
		return FLinearColor(R, G, B, NewOpacity);
	}

	/** Returns the perceived brightness of the RGB channels. */
	constexpr float GetLuminance() const
	{
		return R * 0.3f + G * 0.59f + B * 0.11f;
	}

	/** Returns the largest channel, alpha included. */
	float GetMax() const { return FMath::Max(FMath::Max(FMath::Max(R, G), B), A); }
	/** Returns the smallest channel, alpha included. */
	float GetMin() const { return FMath::Min(FMath::Min(FMath::Min(R, G), B), A); }

	/** Returns the 8-bit color: channels clamped to [0, 1], RGB sRGB-encoded when bSRGB, then scaled by 255.999 and truncated. */
	FColor ToFColor(const bool bSRGB) const;

	/** Returns the 8-bit color decoded through the sRGB curve (the same as FLinearColor(Color)). */
	static FLinearColor FromSRGBColor(const FColor& Color);

	/** True when any channel is NaN or infinite. */
	bool ContainsNaN() const
	{
		return !FMath::IsFinite(R) || !FMath::IsFinite(G) || !FMath::IsFinite(B) || !FMath::IsFinite(A);
	}

	/** Returns the text "(R=...,G=...,B=...,A=...)". */
	FString ToString() const
	{
		return FString::Printf(TEXT("(R=%f,G=%f,B=%f,A=%f)"), R, G, B, A);
	}
};

/** Returns Color with every channel, alpha included, multiplied by Scalar. */
inline constexpr FLinearColor operator*(const float Scalar, const FLinearColor& Color)
{
	return Color * Scalar;
}

/** Hashes a linear color; colors that compare equal hash alike. */
inline uint32 GetTypeHash(const FLinearColor& Color)
{
	return UE::Math::Private::HashComponents(Color.R, Color.G, Color.B, Color.A);
}

/** A color with 8-bit channels, stored blue, green, red, alpha, as the engine lays it out. */
struct CORE_API FColor
{
	/** Blue. */
	uint8 B;
	/** Green. */
	uint8 G;
	/** Red. */
	uint8 R;
	/** Alpha (opacity). */
	uint8 A;

	/** (255, 255, 255, 255). */
	static const FColor White;
	/** (0, 0, 0, 255). */
	static const FColor Black;
	/** (0, 0, 0, 0). */
	static const FColor Transparent;
	/** (255, 0, 0, 255). */
	static const FColor Red;
	/** (0, 255, 0, 255). */
	static const FColor Green;
	/** (0, 0, 255, 255). */
	static const FColor Blue;
	/** (255, 255, 0, 255). */
	static const FColor Yellow;
	/** (0, 255, 255, 255). */
	static const FColor Cyan;
	/** (255, 0, 255, 255). */
	static const FColor Magenta;
	/** (243, 156, 18, 255). */
	static const FColor Orange;
	/** (169, 7, 228, 255). */
	static const FColor Purple;
	/** (26, 188, 156, 255). */
	static const FColor Turquoise;
	/** (189, 195, 199, 255). */
	static const FColor Silver;
	/** (46, 204, 113, 255). */
	static const FColor Emerald;

	/** Makes transparent black (0, 0, 0, 0). */
	constexpr FColor()
		: B(0), G(0), R(0), A(0)
	{
	}

	/** Makes transparent black (0, 0, 0, 0). */
	explicit constexpr FColor(EForceInit::Type)
		: B(0), G(0), R(0), A(0)
	{
	}

	/** Makes a color from red, green, blue and alpha, in that order. */
	constexpr FColor(const uint8 InR, const uint8 InG, const uint8 InB, const uint8 InA = 255)
		: B(InB), G(InG), R(InR), A(InA)
	{
	}

	/** Makes a color from its packed 0xAARRGGBB value. */
	explicit constexpr FColor(const uint32 InColor)
		: B((uint8)(InColor & 0xff)), G((uint8)((InColor >> 8) & 0xff)), R((uint8)((InColor >> 16) & 0xff)), A((uint8)((InColor >> 24) & 0xff))
	{
	}

	/** Returns the channels packed as 0xAARRGGBB, the 32-bit value of their bytes in memory. */
	constexpr uint32 DWColor() const
	{
		return ((uint32)A << 24) | ((uint32)R << 16) | ((uint32)G << 8) | (uint32)B;
	}

	/** Returns the channels packed as 0xAARRGGBB. */
	constexpr uint32 ToPackedARGB() const { return DWColor(); }
	/** Returns the channels packed as 0xRRGGBBAA. */
	constexpr uint32 ToPackedRGBA() const { return ((uint32)R << 24) | ((uint32)G << 16) | ((uint32)B << 8) | (uint32)A; }

	/** True when all four channels are equal. */
	constexpr bool operator==(const FColor& Other) const { return DWColor() == Other.DWColor(); }
	/** True when any channel differs. */
	constexpr bool operator!=(const FColor& Other) const { return !(*this == Other); }

	/** Returns the color with its channels divided by 255, without sRGB decoding. */
	FLinearColor ReinterpretAsLinear() const
	{
		return FLinearColor(R / 255.0f, G / 255.0f, B / 255.0f, A / 255.0f);
	}

	/** Returns this color with the alpha replaced by Alpha. */
	constexpr FColor WithAlpha(const uint8 Alpha) const
	{
		return FColor(R, G, B, Alpha);
	}

	/** Returns the channels as eight upper-case hex digits, "RRGGBBAA". */
	FString ToHex() const
	{
		return FString::Printf(TEXT("%02X%02X%02X%02X"), R, G, B, A);
	}

	/**
	 * Reads "RGB", "RRGGBB" or "RRGGBBAA" hex digits, with an optional leading '#'; the short forms
	 * are opaque. Any other length, or a character that is not a hex digit, gives FColor(0, 0, 0, 0).
	 */
	static FColor FromHex(const FString& HexString);

	/** Returns the text "(R=...,G=...,B=...,A=...)". */
	FString ToString() const
	{
		return FString::Printf(TEXT("(R=%i,G=%i,B=%i,A=%i)"), R, G, B, A);
	}
};

/** Hashes a color by its packed value. */
inline uint32 GetTypeHash(const FColor& Color)
{
	return Color.DWColor();
}
