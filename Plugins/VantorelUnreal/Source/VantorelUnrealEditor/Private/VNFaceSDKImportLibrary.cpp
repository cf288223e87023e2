// The native Face rig JSON importer: reads the "drivers" section into a face rig data asset.

#include "VNFaceSDKImportLibrary.h"

#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Misc/FileHelper.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "VNFaceRigDataAsset.h"
#include "VNFaceSDKJsonFormat.h"

namespace
{
	const TCHAR* const ImportFailedPrefix = TEXT("Import failed: ");

	/** Sets OutError to the importer's message and returns false, so that failures read as one line. */
	bool Fail(FString& OutError, const FString& Reason)
	{
		OutError = ImportFailedPrefix + Reason;
		return false;
	}

	/** Reads one key object: "x" and "y" as numbers, a missing member as 0. */
	FVNSDKKey ReadKey(const FJsonObject& KeyObject)
	{
		double X = 0.0;
		double Y = 0.0;
		KeyObject.TryGetNumberField(TEXT("x"), X);
		KeyObject.TryGetNumberField(TEXT("y"), Y);
		FVNSDKKey Key;
		Key.X = (float)X;
		Key.Y = (float)Y;
		return Key;
	}

	/** Reads the first of two text members that is present; false when neither is. */
	bool TryGetFirstStringField(const FJsonObject& Object, const TCHAR* Preferred, const TCHAR* Fallback, FString& OutText)
	{
		return Object.TryGetStringField(Preferred, OutText) || Object.TryGetStringField(Fallback, OutText);
	}

	/** Reads one driven row; on failure sets OutError and returns false. */
	bool ReadDrivenRow(const TSharedPtr<FJsonValue>& RowValue, FVNDrivenSDKChannel& OutRow, FString& OutError)
	{
		const TSharedPtr<FJsonObject>* RowObject = nullptr;
		if (!RowValue.IsValid() || !RowValue->TryGetObject(RowObject) || !RowObject || !RowObject->IsValid())
		{
			return Fail(OutError, TEXT("Driven entry is not an object."));
		}
		const FJsonObject& Row = **RowObject;

		FString BoneText;
		FString ChannelText;
		if (!Row.TryGetStringField(TEXT("bone"), BoneText) || !Row.TryGetStringField(TEXT("channel"), ChannelText))
		{
			return Fail(OutError, TEXT("Driven entry needs 'bone' and 'channel'."));
		}

		OutRow = FVNDrivenSDKChannel();
		OutRow.BoneName = FName(*BoneText);
		const TOptional<EVNFaceSDKChannel> Channel = VNFaceSDKJsonFormat::ParseChannel(ChannelText);
		if (!Channel.IsSet())
		{
			return Fail(OutError, FString::Printf(TEXT("Unknown driven channel '%s'."), *ChannelText));
		}
		OutRow.Channel = Channel.GetValue();

		double Multiplier = 0.0;
		if (Row.TryGetNumberField(TEXT("multiplier"), Multiplier))
		{
			OutRow.Multiplier = (float)Multiplier;
		}

		FString ModeText;
		if (TryGetFirstStringField(Row, TEXT("mode"), TEXT("applyMode"), ModeText))
		{
			OutRow.ApplyMode = VNFaceSDKJsonFormat::ParseApplyMode(ModeText);
		}

		FString SpaceText;
		if (TryGetFirstStringField(Row, TEXT("space"), TEXT("transformSpace"), SpaceText))
		{
			OutRow.TransformSpace = VNFaceSDKJsonFormat::ParseTransformSpace(SpaceText);
		}

		const TArray<TSharedPtr<FJsonValue>>* KeyValues = nullptr;
		if (!Row.TryGetArrayField(TEXT("keys"), KeyValues) || !KeyValues)
		{
			return Fail(OutError, FString::Printf(TEXT("Driven bone '%s' is missing 'keys' array."), *BoneText));
		}
		OutRow.Keys.Reserve(KeyValues->Num());
		for (const TSharedPtr<FJsonValue>& KeyValue : *KeyValues)
		{
			const TSharedPtr<FJsonObject>* KeyObject = nullptr;
			if (!KeyValue.IsValid() || !KeyValue->TryGetObject(KeyObject) || !KeyObject || !KeyObject->IsValid())
			{
				return Fail(OutError, TEXT("Key entry is not an object."));
			}
			OutRow.Keys.Add(ReadKey(**KeyObject));
		}
		return true;
	}

	/** Reads one driver with its rows; on failure sets OutError and returns false. */
	bool ReadDriver(const TSharedPtr<FJsonValue>& DriverValue, FVNFaceSDKDriver& OutDriver, FString& OutError)
	{
		const TSharedPtr<FJsonObject>* DriverObject = nullptr;
		if (!DriverValue.IsValid() || !DriverValue->TryGetObject(DriverObject) || !DriverObject || !DriverObject->IsValid())
		{
			return Fail(OutError, TEXT("Driver entry is not an object."));
		}
		const FJsonObject& Driver = **DriverObject;

		FString ControlText;
		FString ChannelText;
		if (!Driver.TryGetStringField(TEXT("control"), ControlText) || !Driver.TryGetStringField(TEXT("channel"), ChannelText))
		{
			return Fail(OutError, TEXT("Driver needs 'control' and 'channel'."));
		}

		OutDriver = FVNFaceSDKDriver();
		OutDriver.ControlName = FName(*ControlText);
		const TOptional<EVNFaceSDKChannel> Channel = VNFaceSDKJsonFormat::ParseChannel(ChannelText);
		if (Channel.IsSet())
		{
			OutDriver.Channel = Channel.GetValue();
		}
		else
		{
			// Any other text names a custom attribute of the control.
			OutDriver.Channel = EVNFaceSDKChannel::ValueFloat;
			OutDriver.CustomChannelName = FName(*ChannelText);
		}

		const TArray<TSharedPtr<FJsonValue>>* DrivenValues = nullptr;
		if (!Driver.TryGetArrayField(TEXT("driven"), DrivenValues) || !DrivenValues)
		{
			return Fail(OutError, FString::Printf(TEXT("Driver '%s' is missing 'driven' array."), *ControlText));
		}
		OutDriver.Driven.Reserve(DrivenValues->Num());
		for (const TSharedPtr<FJsonValue>& RowValue : *DrivenValues)
		{
			FVNDrivenSDKChannel Row;
			if (!ReadDrivenRow(RowValue, Row, OutError))
			{
				return false;
			}
			OutDriver.Driven.Add(MoveTemp(Row));
		}
		return true;
	}
}

bool UVNFaceSDKImportLibrary::ImportVNFaceSDKJson(UVNFaceRigDataAsset* TargetAsset, const FString& JsonFilePath, FString& OutError)
{
	OutError.Reset();
	if (!TargetAsset)
	{
		return Fail(OutError, TEXT("TargetAsset is null."));
	}
	FString JsonText;
	if (!FFileHelper::LoadFileToString(JsonText, *JsonFilePath))
	{
		return Fail(OutError, FString::Printf(TEXT("Could not read '%s'."), *JsonFilePath));
	}
	return ImportVNFaceSDKJsonText(TargetAsset, JsonText, OutError);
}

bool UVNFaceSDKImportLibrary::ImportVNFaceSDKJsonText(UVNFaceRigDataAsset* TargetAsset, const FString& JsonText, FString& OutError)
{
	OutError.Reset();
	if (!TargetAsset)
	{
		return Fail(OutError, TEXT("TargetAsset is null."));
	}

	TSharedPtr<FJsonObject> Root;
	const TSharedRef<TJsonReader<>> Reader = TJsonReaderFactory<>::Create(JsonText);
	if (!FJsonSerializer::Deserialize(Reader, Root) || !Root.IsValid())
	{
		return Fail(OutError, TEXT("JSON is invalid."));
	}

	const TArray<TSharedPtr<FJsonValue>>* DriverValues = nullptr;
	if (!Root->TryGetArrayField(TEXT("drivers"), DriverValues) || !DriverValues)
	{
		return Fail(OutError, TEXT("Missing 'drivers' array."));
	}

	// Everything is read into a local list first: a failure anywhere leaves the asset as it was.
	TArray<FVNFaceSDKDriver> Drivers;
	Drivers.Reserve(DriverValues->Num());
	for (const TSharedPtr<FJsonValue>& DriverValue : *DriverValues)
	{
		FVNFaceSDKDriver Driver;
		if (!ReadDriver(DriverValue, Driver, OutError))
		{
			return false;
		}
		Drivers.Add(MoveTemp(Driver));
	}

	int32 Version = 0;
	if (!Root->TryGetNumberField(TEXT("version"), Version))
	{
		Version = 0;
	}

	TargetAsset->Modify();
	TargetAsset->Version = Version;
	TargetAsset->Drivers = MoveTemp(Drivers);
	TargetAsset->MarkPackageDirty();
	return true;
}
