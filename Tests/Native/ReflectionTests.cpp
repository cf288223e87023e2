// The object system and the reflection that the header tool generates: type and member names (with
// the names the editor's Python gives them), defaults, text forms and function calls by reflection.

#include <gtest/gtest.h>

#include "CoreMinimal.h"
#include "Engine/DataAsset.h"
#include "Rigs/RigHierarchyDefines.h"
#include "Templates/Casts.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"
#include "UObject/UObjectGlobals.h"
#include "VNFaceRigDataAsset.h"
#include "VNFaceSDKImportLibrary.h"

namespace
{
	std::string Narrow(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}

	/** Member name to scripting name, in declaration order. */
	std::vector<std::pair<std::string, std::string>> ScriptNames(const UStruct* Struct)
	{
		std::vector<std::pair<std::string, std::string>> Names;
		for (const FProperty* Property : Struct->GetOwnProperties())
		{
			Names.emplace_back(Narrow(Property->GetName()), Narrow(Property->GetScriptName()));
		}
		return Names;
	}

	using FNamePairs = std::vector<std::pair<std::string, std::string>>;
}

TEST(Reflection, ClassesAreRegisteredUnderTheirModulePackage)
{
	UClass* Class = UVNFaceRigDataAsset::StaticClass();
	EXPECT_EQ(Narrow(Class->GetName()), "VNFaceRigDataAsset");
	EXPECT_EQ(Narrow(Class->GetPathName()), "/Script/VantorelUnreal.VNFaceRigDataAsset");
	EXPECT_EQ(Narrow(Class->GetScriptName()), "VNFaceRigDataAsset");
	EXPECT_EQ(Class->GetSuperClass(), UDataAsset::StaticClass());
	EXPECT_TRUE(Class->IsChildOf(UObject::StaticClass()));
	EXPECT_EQ(FindObject<UClass>(nullptr, TEXT("/Script/VantorelUnreal.VNFaceRigDataAsset")), Class);
	EXPECT_EQ(FindObject<UScriptStruct>(nullptr, TEXT("/Script/ControlRig.RigElementKey")), FRigElementKey::StaticStruct());
	EXPECT_EQ(UClass::StaticClass()->GetClass(), UClass::StaticClass());
	EXPECT_TRUE(UDataAsset::StaticClass()->HasAnyClassFlags(CLASS_Abstract));
}

TEST(Reflection, FaceRecordsCarryTheirScriptingNames)
{
	EXPECT_EQ(ScriptNames(UVNFaceRigDataAsset::StaticClass()), (FNamePairs{{"Version", "version"}, {"Drivers", "drivers"},
		{"DirectControls", "direct_controls"}, {"EyeChains", "eye_chains"}, {"AimBindings", "aim_bindings"},
		{"FollowControls", "follow_controls"}, {"VisibilityGroups", "visibility_groups"}}));
	EXPECT_EQ(ScriptNames(FVNFaceSDKDriver::StaticStruct()), (FNamePairs{{"ControlName", "control_name"}, {"Channel", "channel"},
		{"CustomChannelName", "custom_channel_name"}, {"Driven", "driven"}}));
	EXPECT_EQ(ScriptNames(FVNDrivenSDKChannel::StaticStruct()), (FNamePairs{{"BoneName", "bone_name"}, {"Channel", "channel"},
		{"Multiplier", "multiplier"}, {"ApplyMode", "apply_mode"}, {"TransformSpace", "transform_space"}, {"Keys", "keys"},
		{"bQuaternionRotation", "quaternion_rotation"}, {"QuaternionKeys", "quaternion_keys"}}));
	EXPECT_EQ(ScriptNames(FVNSDKKey::StaticStruct()), (FNamePairs{{"X", "x"}, {"Y", "y"}}));
	EXPECT_EQ(ScriptNames(FVNSDKQuaternionKey::StaticStruct()), (FNamePairs{{"X", "x"}, {"Value", "value"}}));
	EXPECT_EQ(ScriptNames(FVNFaceSDKDirectControl::StaticStruct()), (FNamePairs{{"ControlName", "control_name"}, {"BoneName", "bone_name"}, {"FollowNullName", "follow_null_name"}}));
	EXPECT_EQ(ScriptNames(FVNFaceSDKFollowControl::StaticStruct()), (FNamePairs{{"ControlName", "control_name"}, {"BoneName", "bone_name"}, {"FollowNullName", "follow_null_name"}, {"bFollowRotation", "follow_rotation"}}));
	EXPECT_EQ(ScriptNames(FVNFaceSDKEyeChain::StaticStruct()), (FNamePairs{{"SDKNullName", "sdk_null_name"}, {"FinalControlName", "final_control_name"}, {"EyeJointName", "eye_joint_name"}}));
	EXPECT_EQ(ScriptNames(FVNFaceSDKAimBinding::StaticStruct()), (FNamePairs{{"EyeAimNullName", "eye_aim_null_name"}, {"TargetControlName", "target_control_name"}, {"AimAxis", "aim_axis"}, {"UpAxis", "up_axis"}}));
	EXPECT_EQ(ScriptNames(FVNFaceSDKVisibilityGroup::StaticStruct()), (FNamePairs{{"SwitchControlName", "switch_control_name"}, {"bDefaultVisible", "default_visible"}, {"Members", "members"}}));

	const std::pair<UScriptStruct*, const char*> TypeNames[] = {
		{FVNFaceSDKDriver::StaticStruct(), "VNFaceSDKDriver"}, {FVNDrivenSDKChannel::StaticStruct(), "VNDrivenSDKChannel"},
		{FVNSDKKey::StaticStruct(), "VNSDKKey"}, {FVNSDKQuaternionKey::StaticStruct(), "VNSDKQuaternionKey"},
		{FVNFaceSDKDirectControl::StaticStruct(), "VNFaceSDKDirectControl"}, {FVNFaceSDKFollowControl::StaticStruct(), "VNFaceSDKFollowControl"},
		{FVNFaceSDKEyeChain::StaticStruct(), "VNFaceSDKEyeChain"}, {FVNFaceSDKAimBinding::StaticStruct(), "VNFaceSDKAimBinding"},
		{FVNFaceSDKVisibilityGroup::StaticStruct(), "VNFaceSDKVisibilityGroup"}};
	for (const auto& [Struct, Name] : TypeNames)
	{
		EXPECT_EQ(Narrow(Struct->GetScriptName()), Name);
		EXPECT_EQ(Narrow(Struct->GetPathName()), std::string("/Script/VantorelUnreal.") + Name);
	}
}

TEST(Reflection, EnumerationsKeepTheirOrderAndUpperCaseScriptingNames)
{
	const UEnum* Channel = StaticEnum<EVNFaceSDKChannel>();
	EXPECT_EQ(Narrow(Channel->GetName()), "EVNFaceSDKChannel");
	EXPECT_EQ(Narrow(Channel->GetScriptName()), "VNFaceSDKChannel");
	const std::vector<std::string> Members = {"TranslationX", "TranslationY", "TranslationZ", "RotationX", "RotationY", "RotationZ",
		"Rotation", "ScaleX", "ScaleY", "ScaleZ", "ValueX", "ValueY", "ValueZ", "ValueFloat"};
	const std::vector<std::string> Scripting = {"TRANSLATION_X", "TRANSLATION_Y", "TRANSLATION_Z", "ROTATION_X", "ROTATION_Y", "ROTATION_Z",
		"ROTATION", "SCALE_X", "SCALE_Y", "SCALE_Z", "VALUE_X", "VALUE_Y", "VALUE_Z", "VALUE_FLOAT"};
	ASSERT_EQ(Channel->NumEnums(), (int32)Members.size() + 1) << "the engine adds a _MAX entry";
	for (int32 Index = 0; Index < (int32)Members.size(); ++Index)
	{
		EXPECT_EQ(Narrow(Channel->GetNameStringByIndex(Index)), Members[Index]);
		EXPECT_EQ(Channel->GetValueByIndex(Index), Index);
		EXPECT_EQ(Narrow(Channel->GetMemberScriptNames()[Index]), Scripting[Index]);
	}
	EXPECT_EQ(Narrow(Channel->GetNameByValue(13).ToString()), "EVNFaceSDKChannel::ValueFloat");
	EXPECT_EQ(Channel->GetValueByNameString(TEXT("Rotation")), 6);
	EXPECT_EQ(Channel->GetValueByNameString(TEXT("EVNFaceSDKChannel::ScaleY")), 8);
	EXPECT_EQ(Channel->GetValueByNameString(TEXT("Bogus")), INDEX_NONE);
	EXPECT_EQ(Narrow(StaticEnum<EVNFaceSDKApplyMode>()->GetMemberScriptNames()[1]), "ABSOLUTE");
	EXPECT_EQ(Narrow(StaticEnum<EVNFaceSDKTransformSpace>()->GetMemberScriptNames()[1]), "WORLD");
	EXPECT_EQ(sizeof(EVNFaceSDKChannel), 1u);
}

TEST(Reflection, StructsInitialiseToTheirDefaults)
{
	const UScriptStruct* Struct = FVNDrivenSDKChannel::StaticStruct();
	TArray<uint8> Storage;
	Storage.SetNumZeroed(Struct->GetStructureSize());
	std::memset(Storage.GetData(), 0xCD, Storage.Num());
	Struct->InitializeStruct(Storage.GetData());
	const FVNDrivenSDKChannel& Row = *reinterpret_cast<const FVNDrivenSDKChannel*>(Storage.GetData());
	EXPECT_FLOAT_EQ(Row.Multiplier, 1.0f);
	EXPECT_EQ(Row.ApplyMode, EVNFaceSDKApplyMode::Additive);
	EXPECT_EQ(Row.TransformSpace, EVNFaceSDKTransformSpace::Local);
	EXPECT_FALSE(Row.bQuaternionRotation);
	EXPECT_EQ(Row.Keys.Num(), 0);
	const FProperty* Multiplier = Struct->FindPropertyByName(TEXT("multiplier"));
	ASSERT_NE(Multiplier, nullptr) << "property lookups ignore case, as names do";
	EXPECT_FLOAT_EQ(*Multiplier->ContainerPtrToValuePtr<float>(Storage.GetData()), 1.0f);
	Struct->DestroyStruct(Storage.GetData());
}

TEST(Reflection, ValuesWriteAndReadTheEnginesTextForm)
{
	FVNDrivenSDKChannel Row;
	Row.BoneName = TEXT("Lip \"Upper\"_L");
	Row.Channel = EVNFaceSDKChannel::RotationZ;
	Row.Multiplier = -0.5f;
	Row.ApplyMode = EVNFaceSDKApplyMode::Absolute;
	Row.Keys = {FVNSDKKey{0.0f, 1.0f}, FVNSDKKey{0.5f, -2.25f}};
	Row.bQuaternionRotation = true;

	FStructProperty Property(nullptr, TEXT("Row"), 0, CPF_None, FVNDrivenSDKChannel::StaticStruct());
	FString Text;
	Property.ExportTextItem_Direct(Text, &Row, nullptr, nullptr, PPF_None);
	EXPECT_EQ(Narrow(Text), "(BoneName=\"Lip \\\"Upper\\\"_L\",Channel=RotationZ,Multiplier=-0.500000,ApplyMode=Absolute,TransformSpace=Local,"
		"Keys=((X=0.000000,Y=1.000000),(X=0.500000,Y=-2.250000)),bQuaternionRotation=True,QuaternionKeys=())");

	FVNDrivenSDKChannel Read;
	ASSERT_NE(Property.ImportText_Direct(*Text, &Read, nullptr, PPF_None), nullptr) << Narrow(Text);
	EXPECT_TRUE(Property.Identical(&Row, &Read));

	FRigElementKey Key;
	FStructProperty KeyProperty(nullptr, TEXT("Key"), 0, CPF_None, FRigElementKey::StaticStruct());
	ASSERT_NE(KeyProperty.ImportText_Direct(TEXT("(Type=Bone,Name=\"FaceJoint_M\")"), &Key, nullptr, PPF_None), nullptr);
	EXPECT_EQ(Key, FRigElementKey(TEXT("FaceJoint_M"), ERigElementType::Bone));
	EXPECT_EQ(Narrow(Key.ToString()), "(Type=Bone,Name=\"FaceJoint_M\")");
	EXPECT_EQ(KeyProperty.ImportText_Direct(TEXT("(Type=Skeleton,Name=\"X\")"), &Key, nullptr, PPF_None), nullptr) << "an unknown enumerator is refused";
	EXPECT_EQ(KeyProperty.ImportText_Direct(TEXT("(Type=Bone,Nam=\"X\")"), &Key, nullptr, PPF_None), nullptr) << "an unknown member is refused";
}

TEST(Reflection, FunctionsAreCallableByReflectionWithTheirScriptingNames)
{
	UFunction* Function = UVNFaceSDKImportLibrary::StaticClass()->FindFunctionByName(TEXT("ImportVNFaceSDKJson"));
	ASSERT_NE(Function, nullptr);
	EXPECT_EQ(Narrow(Function->GetScriptName()), "import_vn_face_sdk_json");
	EXPECT_TRUE(Function->HasAllFunctionFlags(EFunctionFlags(FUNC_Static | FUNC_BlueprintCallable | FUNC_Native | FUNC_HasOutParms)));
	EXPECT_EQ(Narrow(Function->GetMetaData(TEXT("Category"))), "Vantorel Face");
	EXPECT_TRUE(Function->HasMetaData(TEXT("CallInEditor")));
	EXPECT_EQ(UVNFaceSDKImportLibrary::StaticClass()->FindFunctionByName(TEXT("ImportVNFaceSDKJsonText")), nullptr) << "the text entry point is native only";

	FNamePairs Params = ScriptNames(Function);
	EXPECT_EQ(Params, (FNamePairs{{"TargetAsset", "target_asset"}, {"JsonFilePath", "json_file_path"}, {"OutError", "out_error"}, {"ReturnValue", "return_value"}}));
	EXPECT_TRUE(Function->FindPropertyByName(TEXT("OutError"))->HasAnyPropertyFlags(CPF_OutParm));
	EXPECT_FALSE(Function->FindPropertyByName(TEXT("JsonFilePath"))->HasAnyPropertyFlags(CPF_OutParm));
	EXPECT_TRUE(Function->GetReturnProperty()->HasAnyPropertyFlags(CPF_ReturnParm));

	TArray<uint8> Parms;
	Parms.SetNumZeroed(Function->GetParmsSize());
	Function->InitializeParms(Parms.GetData());
	*Function->FindPropertyByName(TEXT("JsonFilePath"))->ContainerPtrToValuePtr<FString>(Parms.GetData()) = TEXT("/missing.json");
	UVNFaceSDKImportLibrary::StaticClass()->GetDefaultObject()->ProcessEvent(Function, Parms.GetData());
	EXPECT_FALSE(*Function->GetReturnProperty()->ContainerPtrToValuePtr<bool>(Parms.GetData()));
	EXPECT_EQ(Narrow(*Function->FindPropertyByName(TEXT("OutError"))->ContainerPtrToValuePtr<FString>(Parms.GetData())), "Import failed: TargetAsset is null.");
	Function->DestroyParms(Parms.GetData());
}

TEST(ObjectSystem, ObjectsHaveNamesPathsAndPackages)
{
	UPackage* Package = CreatePackage(TEXT("/Game/Chars/Hero/DA_Hero_VNFaceSDK"));
	EXPECT_EQ(CreatePackage(TEXT("/Game/Chars/Hero/DA_Hero_VNFaceSDK")), Package);
	UVNFaceRigDataAsset* Asset = NewObject<UVNFaceRigDataAsset>(Package, TEXT("DA_Hero_VNFaceSDK"), RF_Public | RF_Standalone);
	EXPECT_EQ(Narrow(Asset->GetPathName()), "/Game/Chars/Hero/DA_Hero_VNFaceSDK.DA_Hero_VNFaceSDK");
	EXPECT_EQ(Asset->GetPackage(), Package);
	EXPECT_TRUE(Asset->IsAsset());
	EXPECT_EQ(FindObject<UVNFaceRigDataAsset>(nullptr, TEXT("/Game/Chars/Hero/DA_Hero_VNFaceSDK.DA_Hero_VNFaceSDK")), Asset);
	EXPECT_EQ(FindObject<UDataAsset>(Package, TEXT("DA_Hero_VNFaceSDK")), Asset);
	EXPECT_EQ(Cast<UDataAsset>(Asset), Asset);
	EXPECT_EQ(Cast<UPackage>(Asset), nullptr);

	UVNFaceRigDataAsset* Unnamed = NewObject<UVNFaceRigDataAsset>(Package);
	UVNFaceRigDataAsset* Unnamed2 = NewObject<UVNFaceRigDataAsset>(Package);
	EXPECT_EQ(Narrow(Unnamed->GetName()), "VNFaceRigDataAsset_0");
	EXPECT_EQ(Narrow(Unnamed2->GetName()), "VNFaceRigDataAsset_1");

	// A sub-object of an asset follows a ':' in its path.
	UVNFaceRigDataAsset* Inner = NewObject<UVNFaceRigDataAsset>(Asset, TEXT("Inner"));
	EXPECT_EQ(Narrow(Inner->GetPathName()), "/Game/Chars/Hero/DA_Hero_VNFaceSDK.DA_Hero_VNFaceSDK:Inner");
	EXPECT_EQ(FindObject<UVNFaceRigDataAsset>(nullptr, TEXT("/Game/Chars/Hero/DA_Hero_VNFaceSDK.DA_Hero_VNFaceSDK:Inner")), Inner);
}

TEST(ObjectSystem, ModifyAndMarkPackageDirtySetTheDirtyFlag)
{
	UPackage* Package = CreatePackage(TEXT("/Game/Tests/Dirty"));
	UVNFaceRigDataAsset* Asset = NewObject<UVNFaceRigDataAsset>(Package, TEXT("Dirty"));
	EXPECT_FALSE(Package->IsDirty());
	EXPECT_FALSE(Asset->Modify(false)) << "without a transaction nothing is recorded";
	EXPECT_FALSE(Package->IsDirty());
	Asset->Modify();
	EXPECT_TRUE(Package->IsDirty());
	Package->SetDirtyFlag(false);
	EXPECT_TRUE(Asset->MarkPackageDirty());
	EXPECT_TRUE(Package->IsDirty());

	UVNFaceRigDataAsset* Transient = NewObject<UVNFaceRigDataAsset>(GetTransientPackage());
	EXPECT_FALSE(Transient->MarkPackageDirty()) << "the transient package is never dirtied";
	EXPECT_FALSE(GetTransientPackage()->IsDirty());
}

TEST(ObjectSystem, ReplacingAndRenamingKeepLookupsRight)
{
	UPackage* Package = CreatePackage(TEXT("/Game/Tests/Replace"));
	UVNFaceRigDataAsset* First = NewObject<UVNFaceRigDataAsset>(Package, TEXT("Asset"));
	UVNFaceRigDataAsset* Second = NewObject<UVNFaceRigDataAsset>(Package, TEXT("Asset"));
	EXPECT_FALSE(IsValid(First)) << "making an object of the same name replaces the old one";
	EXPECT_EQ(FindObject<UVNFaceRigDataAsset>(Package, TEXT("Asset")), Second);

	UVNFaceRigDataAsset* Other = NewObject<UVNFaceRigDataAsset>(Package, TEXT("Other"));
	EXPECT_FALSE(Other->Rename(TEXT("Asset"), nullptr, REN_Test)) << "the name is taken";
	EXPECT_TRUE(Other->Rename(TEXT("Renamed")));
	EXPECT_EQ(FindObject<UVNFaceRigDataAsset>(Package, TEXT("Other")), nullptr);
	EXPECT_EQ(FindObject<UVNFaceRigDataAsset>(Package, TEXT("Renamed")), Other);
	EXPECT_TRUE(Package->IsDirty());
}
