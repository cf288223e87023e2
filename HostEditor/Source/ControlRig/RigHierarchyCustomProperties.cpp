// The text form of a rig hierarchy's elements, written into and read from an exported object block.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Misc/FeedbackContext.h"
#include "Misc/OutputDevice.h"
#include "Rigs/RigHierarchy.h"
#include "UObject/UnrealType.h"

namespace
{
	const TCHAR* const BeginElement = TEXT("Begin RigElement");
	const TCHAR* const EndElement = TEXT("End RigElement");

	FString ExportStruct(UScriptStruct* Struct, const void* Value)
	{
		const FStructProperty Property(nullptr, NAME_None, 0, CPF_None, Struct);
		FString Text;
		Property.ExportTextItem_Direct(Text, Value, nullptr, nullptr, PPF_None);
		return Text;
	}

	bool ImportStruct(UScriptStruct* Struct, const FString& Text, void* OutValue)
	{
		const FStructProperty Property(nullptr, NAME_None, 0, CPF_None, Struct);
		return Property.ImportText_Direct(*Text, OutValue, nullptr, PPF_None) != nullptr;
	}

	/** Numbers in the shortest form that reads back to the same double. */
	FString ExportNumbers(const TArray<double>& Numbers)
	{
		std::string Text;
		for (const double Number : Numbers)
		{
			char Buffer[40];
			std::snprintf(Buffer, sizeof(Buffer), "%.17g", Number);
			if (!Text.empty())
			{
				Text += ' ';
			}
			Text += Buffer;
		}
		return FString(UTF8_TO_TCHAR(Text.c_str()));
	}

	bool ImportNumbers(const FString& Text, int32 Count, TArray<double>& OutNumbers)
	{
		TArray<FString> Parts;
		Text.ParseIntoArrayWS(Parts);
		if (Parts.Num() != Count)
		{
			return false;
		}
		OutNumbers.Reset();
		for (const FString& Part : Parts)
		{
			const std::string Utf8(TCHAR_TO_UTF8(*Part));
			char* End = nullptr;
			const double Number = std::strtod(Utf8.c_str(), &End);
			if (End != Utf8.c_str() + Utf8.size())
			{
				return false;
			}
			OutNumbers.Add(Number);
		}
		return true;
	}

	FString ExportTransform(const FTransform& Transform)
	{
		const FVector T = Transform.GetTranslation();
		const FQuat R = Transform.GetRotation();
		const FVector S = Transform.GetScale3D();
		return ExportNumbers({T.X, T.Y, T.Z, R.X, R.Y, R.Z, R.W, S.X, S.Y, S.Z});
	}

	bool ImportTransform(const FString& Text, FTransform& OutTransform)
	{
		TArray<double> N;
		if (!ImportNumbers(Text, 10, N))
		{
			return false;
		}
		OutTransform = FTransform(FQuat(N[3], N[4], N[5], N[6]), FVector(N[0], N[1], N[2]), FVector(N[7], N[8], N[9]));
		return true;
	}

	/** A control value is written as the sixteen floats of its storage. */
	constexpr int32 ControlValueNumbers = 16;
	/** A stored number that is no finite float (an integer's or bool's bits can be) is written as its bits. */
	const TCHAR* const StoredBitsPrefix = TEXT("bits:");

	FString ExportValue(const FRigControlValue& Value)
	{
		FString Text;
		for (int32 Index = 0; Index < ControlValueNumbers; ++Index)
		{
			const float Number = Value[Index];
			if (!Text.IsEmpty())
			{
				Text += TEXT(" ");
			}
			if (std::isfinite(Number))
			{
				Text += ExportNumbers({(double)Number});
			}
			else
			{
				uint32 Bits = 0;
				std::memcpy(&Bits, &Number, sizeof(Bits));
				Text += FString::Printf(TEXT("%s%08x"), StoredBitsPrefix, Bits);
			}
		}
		return Text;
	}

	bool ImportValue(const FString& Text, FRigControlValue& OutValue)
	{
		TArray<FString> Parts;
		Text.ParseIntoArrayWS(Parts);
		if (Parts.Num() != ControlValueNumbers)
		{
			return false;
		}
		for (int32 Index = 0; Index < ControlValueNumbers; ++Index)
		{
			if (Parts[Index].StartsWith(StoredBitsPrefix, ESearchCase::CaseSensitive))
			{
				const std::string Hex(TCHAR_TO_UTF8(*Parts[Index].RightChop(5)));
				char* End = nullptr;
				const unsigned long Bits = std::strtoul(Hex.c_str(), &End, 16);
				if (Hex.empty() || End != Hex.c_str() + Hex.size())
				{
					return false;
				}
				const uint32 Bits32 = (uint32)Bits;
				std::memcpy(&OutValue[Index], &Bits32, sizeof(Bits32));
				continue;
			}
			TArray<double> Number;
			if (!ImportNumbers(Parts[Index], 1, Number))
			{
				return false;
			}
			OutValue[Index] = (float)Number[0];
		}
		return true;
	}

	FString ExportVector(const FVector& Vector)
	{
		return ExportNumbers({Vector.X, Vector.Y, Vector.Z});
	}

	bool ImportVector(const FString& Text, FVector& OutVector)
	{
		TArray<double> N;
		if (!ImportNumbers(Text, 3, N))
		{
			return false;
		}
		OutVector = FVector(N[0], N[1], N[2]);
		return true;
	}

	template <typename EnumType>
	bool ImportEnum(const FString& Text, EnumType& OutValue)
	{
		const int64 Value = StaticEnum<EnumType>()->GetValueByNameString(Text);
		if (Value == INDEX_NONE)
		{
			return false;
		}
		OutValue = (EnumType)Value;
		return true;
	}

	template <typename EnumType>
	FString ExportEnum(EnumType Value)
	{
		return StaticEnum<EnumType>()->GetNameStringByValue((int64)Value);
	}
}

void URigHierarchy::ExportCustomProperties(FOutputDevice& Out, uint32 Indent)
{
	const FString Pad = FString::ChrN((int32)Indent, TEXT(' '));
	auto Line = [&Out, &Pad](const TCHAR* Field, const FString& Value) { Out.Log(Pad + TEXT("\t") + Field + TEXT("=") + Value); };
	for (const FElement& Element : Elements)
	{
		const FRigElementKey Parent = Element.ParentIndex == INDEX_NONE ? FRigElementKey() : Elements[Element.ParentIndex].Key;
		Out.Log(Pad + BeginElement);
		Line(TEXT("Key"), ExportStruct(FRigElementKey::StaticStruct(), &Element.Key));
		Line(TEXT("Parent"), ExportStruct(FRigElementKey::StaticStruct(), &Parent));
		Line(TEXT("BoneType"), ExportEnum(Element.Bone() ? Element.Bone()->BoneType : ERigBoneType::User));
		Line(TEXT("InitialLocal"), ExportTransform(Element.Local[0]));
		Line(TEXT("CurrentLocal"), ExportTransform(Element.Local[1]));
		Line(TEXT("InitialOffset"), ExportTransform(Element.Offset[0]));
		Line(TEXT("CurrentOffset"), ExportTransform(Element.Offset[1]));
		Line(TEXT("InitialShape"), ExportTransform(Element.Shape[0]));
		Line(TEXT("CurrentShape"), ExportTransform(Element.Shape[1]));
		const FRigControlSettings& Settings = Element.SettingsOrDefault();
		Line(TEXT("Settings"), ExportStruct(FRigControlSettings::StaticStruct(), &Settings));
		// The struct text rounds numbers; the limits are written again exactly.
		Line(TEXT("MinimumValue"), ExportValue(Settings.MinimumValue));
		Line(TEXT("MaximumValue"), ExportValue(Settings.MaximumValue));
		Line(TEXT("InitialValue"), ExportValue(Element.Value[0]));
		Line(TEXT("CurrentValue"), ExportValue(Element.Value[1]));
		Line(TEXT("InitialPreferredAngles"), ExportVector(Element.PreferredAngles[0]));
		Line(TEXT("CurrentPreferredAngles"), ExportVector(Element.PreferredAngles[1]));
		Line(TEXT("PreferredOrder"), ExportEnum(Element.PreferredOrder));
		Out.Log(Pad + EndElement);
	}
}

namespace
{
	/** One element as read from text, its parent still a key. */
	struct FReadElement
	{
		TMap<FString, FString> Fields;
		int32 LineNumber = 0;
	};

	void Report(FFeedbackContext* Warn, const FString& Message)
	{
		if (Warn)
		{
			Warn->Log(ELogVerbosity::Warning, Message);
		}
	}
}

void URigHierarchy::ImportCustomProperties(const TCHAR* SourceText, FFeedbackContext* Warn)
{
	TArray<FString> Lines;
	FString(SourceText ? SourceText : TEXT("")).ParseIntoArrayLines(Lines, false);

	TArray<FReadElement> Records;
	int32 Open = INDEX_NONE;
	for (int32 LineIndex = 0; LineIndex < Lines.Num(); ++LineIndex)
	{
		const FString Text = Lines[LineIndex].TrimStartAndEnd();
		if (Text.IsEmpty())
		{
			continue;
		}
		if (Text.Equals(BeginElement, ESearchCase::CaseSensitive))
		{
			if (Open != INDEX_NONE)
			{
				Report(Warn, FString::Printf(TEXT("Rig hierarchy line %d: element not closed before the next one."), Records[Open].LineNumber));
			}
			Open = Records.AddDefaulted();
			Records[Open].LineNumber = LineIndex + 1;
			continue;
		}
		if (Text.Equals(EndElement, ESearchCase::CaseSensitive))
		{
			Open = INDEX_NONE;
			continue;
		}
		FString Field;
		FString Value;
		if (Open == INDEX_NONE || !Text.Split(TEXT("="), &Field, &Value))
		{
			Report(Warn, FString::Printf(TEXT("Rig hierarchy line %d: unexpected text '%s'."), LineIndex + 1, *Text));
			continue;
		}
		Records[Open].Fields.Add(Field, Value);
	}
	if (Open != INDEX_NONE)
	{
		Report(Warn, FString::Printf(TEXT("Rig hierarchy line %d: element not closed."), Records[Open].LineNumber));
	}

	TArray<FElement> Read;
	TArray<FRigElementKey> ParentKeys;
	TMap<FRigElementKey, int32> Lookup;
	for (const FReadElement& Record : Records)
	{
		auto Get = [&Record](const TCHAR* Name) -> FString {
			const FString* Found = Record.Fields.Find(Name);
			return Found ? *Found : FString();
		};
		FElement Element;
		FRigElementKey Parent;
		ERigBoneType BoneType = ERigBoneType::User;
		FRigControlSettings Settings;
		const bool bRead = ImportStruct(FRigElementKey::StaticStruct(), Get(TEXT("Key")), &Element.Key) && Element.Key.IsValid()
			&& ImportStruct(FRigElementKey::StaticStruct(), Get(TEXT("Parent")), &Parent)
			&& ImportEnum(Get(TEXT("BoneType")), BoneType)
			&& ImportTransform(Get(TEXT("InitialLocal")), Element.Local[0]) && ImportTransform(Get(TEXT("CurrentLocal")), Element.Local[1])
			&& ImportTransform(Get(TEXT("InitialOffset")), Element.Offset[0]) && ImportTransform(Get(TEXT("CurrentOffset")), Element.Offset[1])
			&& ImportTransform(Get(TEXT("InitialShape")), Element.Shape[0]) && ImportTransform(Get(TEXT("CurrentShape")), Element.Shape[1])
			&& ImportStruct(FRigControlSettings::StaticStruct(), Get(TEXT("Settings")), &Settings)
			&& ImportValue(Get(TEXT("MinimumValue")), Settings.MinimumValue) && ImportValue(Get(TEXT("MaximumValue")), Settings.MaximumValue)
			&& ImportValue(Get(TEXT("InitialValue")), Element.Value[0]) && ImportValue(Get(TEXT("CurrentValue")), Element.Value[1])
			&& ImportVector(Get(TEXT("InitialPreferredAngles")), Element.PreferredAngles[0])
			&& ImportVector(Get(TEXT("CurrentPreferredAngles")), Element.PreferredAngles[1])
			&& ImportEnum(Get(TEXT("PreferredOrder")), Element.PreferredOrder);
		if (!bRead)
		{
			Report(Warn, FString::Printf(TEXT("Rig hierarchy line %d: the element cannot be read; it is skipped."), Record.LineNumber));
			continue;
		}
		Element.MakeRecord(Settings);
		if (FRigBoneElement* Bone = Element.Bone())
		{
			Bone->BoneType = BoneType;
		}
		if (Lookup.Contains(Element.Key))
		{
			Report(Warn, FString::Printf(TEXT("Rig hierarchy line %d: %s appears twice; the second is skipped."), Record.LineNumber, *Element.Key.ToString()));
			continue;
		}
		Lookup.Add(Element.Key, Read.Num());
		Read.Add(MoveTemp(Element));
		ParentKeys.Add(Parent);
	}

	for (int32 Index = 0; Index < Read.Num(); ++Index)
	{
		if (!ParentKeys[Index].IsValid())
		{
			continue;
		}
		const int32* Parent = Lookup.Find(ParentKeys[Index]);
		if (!Parent)
		{
			Report(Warn, FString::Printf(TEXT("Rig hierarchy: the parent %s of %s is missing; the element becomes a root."), *ParentKeys[Index].ToString(), *Read[Index].Key.ToString()));
			continue;
		}
		Read[Index].ParentIndex = *Parent;
	}
	// Text that loops parents would make the transforms recurse forever: break each loop at its start.
	for (int32 Index = 0; Index < Read.Num(); ++Index)
	{
		int32 Steps = 0;
		for (int32 Ancestor = Read[Index].ParentIndex; Ancestor != INDEX_NONE; Ancestor = Read[Ancestor].ParentIndex)
		{
			if (Ancestor == Index || ++Steps > Read.Num())
			{
				Report(Warn, FString::Printf(TEXT("Rig hierarchy: %s is its own ancestor; it becomes a root."), *Read[Index].Key.ToString()));
				Read[Index].ParentIndex = INDEX_NONE;
				break;
			}
		}
	}
	Elements = MoveTemp(Read);
	RebuildLookup();
}
