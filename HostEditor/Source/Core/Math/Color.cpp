#include "Math/Color.h"

#include <cmath>

namespace
{
	/** Decodes one sRGB-encoded channel in [0, 1] to linear. */
	float SRGBToLinear(const uint8 Encoded)
	{
		const float Value = Encoded / 255.0f;
		return Value <= 0.04045f ? Value / 12.92f : std::pow((Value + 0.055f) / 1.055f, 2.4f);
	}

	/** Encodes one linear channel in [0, 1] with the sRGB curve. */
	float LinearToSRGB(const float Linear)
	{
		return Linear <= 0.0031308f ? Linear * 12.92f : std::pow(Linear, 1.0f / 2.4f) * 1.055f - 0.055f;
	}

	/** Scales a channel in [0, 1] to a byte the way the engine quantizes colors. */
	uint8 QuantizeChannel(const float Value)
	{
		return (uint8)FMath::FloorToInt(Value * 255.999f);
	}

	/** The value of one hex digit, or -1 when Char is not one. */
	int32 HexDigitValue(const TCHAR Char)
	{
		if (Char >= '0' && Char <= '9')
		{
			return Char - '0';
		}
		if (Char >= 'a' && Char <= 'f')
		{
			return Char - 'a' + 10;
		}
		if (Char >= 'A' && Char <= 'F')
		{
			return Char - 'A' + 10;
		}
		return -1;
	}
}

const FLinearColor FLinearColor::White(1.0f, 1.0f, 1.0f);
const FLinearColor FLinearColor::Gray(0.5f, 0.5f, 0.5f);
const FLinearColor FLinearColor::Black(0.0f, 0.0f, 0.0f);
const FLinearColor FLinearColor::Transparent(0.0f, 0.0f, 0.0f, 0.0f);
const FLinearColor FLinearColor::Red(1.0f, 0.0f, 0.0f);
const FLinearColor FLinearColor::Green(0.0f, 1.0f, 0.0f);
const FLinearColor FLinearColor::Blue(0.0f, 0.0f, 1.0f);
const FLinearColor FLinearColor::Yellow(1.0f, 1.0f, 0.0f);

const FColor FColor::White(255, 255, 255);
const FColor FColor::Black(0, 0, 0);
const FColor FColor::Transparent(0, 0, 0, 0);
const FColor FColor::Red(255, 0, 0);
const FColor FColor::Green(0, 255, 0);
const FColor FColor::Blue(0, 0, 255);
const FColor FColor::Yellow(255, 255, 0);
const FColor FColor::Cyan(0, 255, 255);
const FColor FColor::Magenta(255, 0, 255);
const FColor FColor::Orange(243, 156, 18);
const FColor FColor::Purple(169, 7, 228);
const FColor FColor::Turquoise(26, 188, 156);
const FColor FColor::Silver(189, 195, 199);
const FColor FColor::Emerald(46, 204, 113);

FLinearColor::FLinearColor(const FColor& Color)
	: R(SRGBToLinear(Color.R)), G(SRGBToLinear(Color.G)), B(SRGBToLinear(Color.B)), A(Color.A / 255.0f)
{
}

FLinearColor FLinearColor::FromSRGBColor(const FColor& Color)
{
	return FLinearColor(Color);
}

FColor FLinearColor::ToFColor(const bool bSRGB) const
{
	float FloatR = FMath::Clamp(R, 0.0f, 1.0f);
	float FloatG = FMath::Clamp(G, 0.0f, 1.0f);
	float FloatB = FMath::Clamp(B, 0.0f, 1.0f);
	const float FloatA = FMath::Clamp(A, 0.0f, 1.0f);
	if (bSRGB)
	{
		FloatR = LinearToSRGB(FloatR);
		FloatG = LinearToSRGB(FloatG);
		FloatB = LinearToSRGB(FloatB);
	}
	return FColor(QuantizeChannel(FloatR), QuantizeChannel(FloatG), QuantizeChannel(FloatB), QuantizeChannel(FloatA));
}

FColor FColor::FromHex(const FString& HexString)
{
	const int32 StartIndex = (!HexString.IsEmpty() && HexString[0] == '#') ? 1 : 0;
	const int32 DigitCount = HexString.Len() - StartIndex;
	if (DigitCount != 3 && DigitCount != 6 && DigitCount != 8)
	{
		return FColor(ForceInitToZero);
	}

	int32 Digits[8] = {0, 0, 0, 0, 0, 0, 0, 0};
	for (int32 Index = 0; Index < DigitCount; ++Index)
	{
		Digits[Index] = HexDigitValue(HexString[StartIndex + Index]);
		if (Digits[Index] < 0)
		{
			return FColor(ForceInitToZero);
		}
	}

	if (DigitCount == 3)
	{
		return FColor((uint8)(Digits[0] * 17), (uint8)(Digits[1] * 17), (uint8)(Digits[2] * 17), 255);
	}
	const uint8 Alpha = DigitCount == 8 ? (uint8)(Digits[6] * 16 + Digits[7]) : (uint8)255;
	return FColor((uint8)(Digits[0] * 16 + Digits[1]), (uint8)(Digits[2] * 16 + Digits[3]), (uint8)(Digits[4] * 16 + Digits[5]), Alpha);
}
