// The engine rig units as C++ sees them: the property flags their pin markup gives, which nodes are
// events, and the defaults their constructors set.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ControlRigSplineUnits.h"
#include "CoreMinimal.h"
#include "RigVMFunctions/Debug/RigVMFunction_DebugLine.h"
#include "RigVMFunctions/Execution/RigVMFunction_Sequence.h"
#include "RigVMFunctions/Math/RigVMFunction_MathFloat.h"
#include "RigVMFunctions/Math/RigVMFunction_MathQuaternion.h"
#include "Units/Execution/RigUnit_BeginExecution.h"
#include "Units/Execution/RigUnit_InverseExecution.h"
#include "Units/Hierarchy/RigUnit_GetTransform.h"
#include "Units/Hierarchy/RigUnit_SetControlVisibility.h"
#include "Units/Hierarchy/RigUnit_SetTransform.h"
#include "Units/Highlevel/Hierarchy/RigUnit_TransformConstraint.h"
#include "UObject/UnrealType.h"

namespace
{
	const FProperty* Pin(const UScriptStruct* Struct, const TCHAR* Name)
	{
		const FProperty* Property = Struct->FindPropertyByName(FName(Name));
		EXPECT_NE(Property, nullptr) << TCHAR_TO_UTF8(Name);
		return Property;
	}

	struct FPinFlagsCase
	{
		UScriptStruct* (*Struct)();
		const TCHAR* Pin;
		bool bScriptVisible;
		bool bReadOnly;
		bool bEditConst;
	};

	void PrintTo(const FPinFlagsCase& Case, std::ostream* Stream)
	{
		*Stream << TCHAR_TO_UTF8(*Case.Struct()->GetName()) << "." << TCHAR_TO_UTF8(Case.Pin);
	}

	class RigUnitPinFlags : public testing::TestWithParam<FPinFlagsCase>
	{
	};
}

TEST_P(RigUnitPinFlags, PinMarkupDecidesEditabilityAndScriptAccess)
{
	const FPinFlagsCase& Case = GetParam();
	const FProperty* Property = Pin(Case.Struct(), Case.Pin);
	ASSERT_NE(Property, nullptr);
	EXPECT_EQ(Property->HasAllPropertyFlags(CPF_Edit | CPF_BlueprintVisible), Case.bScriptVisible);
	EXPECT_EQ(Property->HasAnyPropertyFlags(CPF_BlueprintReadOnly), Case.bReadOnly);
	EXPECT_EQ(Property->HasAnyPropertyFlags(CPF_EditConst), Case.bEditConst);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, RigUnitPinFlags, testing::Values(
	FPinFlagsCase{&FRigUnit_SetTransform::StaticStruct, TEXT("Weight"), true, false, false},
	FPinFlagsCase{&FRigUnit_SetTransform::StaticStruct, TEXT("ExecuteContext"), true, false, false},
	FPinFlagsCase{&FRigUnit_GetTransform::StaticStruct, TEXT("Transform"), true, true, false},
	FPinFlagsCase{&FRigUnit_GetTransform::StaticStruct, TEXT("CachedIndex"), false, false, false},
	FPinFlagsCase{&FRigUnit_SetControlVisibility::StaticStruct, TEXT("Pattern"), true, false, true},
	FPinFlagsCase{&FRigUnit_FitChainToSplineCurveItemArray::StaticStruct, TEXT("Alignment"), true, false, true},
	FPinFlagsCase{&FRigVMFunction_Sequence::StaticStruct, TEXT("B"), true, true, false}),
	[](const testing::TestParamInfo<FPinFlagsCase>& Info) {
		return std::string(TCHAR_TO_UTF8(*Info.param.Struct()->GetName())) + "_" + TCHAR_TO_UTF8(Info.param.Pin);
	});

TEST(RigUnitCatalogue, OnlyEventNodesNameAnEventAndExistOnce)
{
	EXPECT_EQ(FRigUnit_BeginExecution().GetEventName(), FName(TEXT("Forwards Solve")));
	EXPECT_EQ(FRigUnit_InverseExecution().GetEventName(), FName(TEXT("Backwards Solve")));
	EXPECT_TRUE(FRigUnit_BeginExecution().CanOnlyExistOnce());
	EXPECT_TRUE(FRigUnit_InverseExecution().CanOnlyExistOnce());
	EXPECT_TRUE(FRigUnit_SetTransform().GetEventName().IsNone());
	EXPECT_FALSE(FRigVMFunction_Sequence().CanOnlyExistOnce());
}

TEST(RigUnitCatalogue, MutableRigVMFunctionsInheritTheExecutionPin)
{
	const FProperty* Execute = Pin(FRigVMFunction_DebugLineNoSpace::StaticStruct(), TEXT("ExecuteContext"));
	ASSERT_NE(Execute, nullptr);
	EXPECT_EQ(Execute->GetOwnerStruct(), FRigVMStructMutable::StaticStruct());
	EXPECT_TRUE(Execute->HasMetaData(TEXT("Input")) && Execute->HasMetaData(TEXT("Output")));
	EXPECT_EQ(FRigVMFunction_DebugLineNoSpace::StaticStruct()->GetSuperStruct(), FRigVMFunction_DebugBaseMutable::StaticStruct());
}

TEST(RigUnitCatalogue, ConstructorsSetTheEngineDefaults)
{
	const FRigUnit_SetTransform SetTransform;
	EXPECT_EQ(SetTransform.Item.Type, ERigElementType::Bone);
	EXPECT_EQ(SetTransform.Space, ERigVMTransformSpace::GlobalSpace);
	EXPECT_FLOAT_EQ(SetTransform.Weight, 1.f);
	EXPECT_TRUE(SetTransform.bPropagateToChildren);
	EXPECT_TRUE(SetTransform.Value.Equals(FTransform::Identity));

	const FRigUnit_ParentConstraint Constraint;
	EXPECT_TRUE(Constraint.Parents.IsEmpty()) << "the one default entry comes from DefaultArraySize on the node, not from the struct";
	EXPECT_TRUE(Constraint.bMaintainOffset);
	EXPECT_EQ(FConstraintParent().Weight, 1.f);

	EXPECT_FLOAT_EQ(FRigVMFunction_MathFloatMul().A, 1.f);
	EXPECT_FLOAT_EQ(FRigVMFunction_MathFloatDiv().B, 1.f);
	EXPECT_FLOAT_EQ(FRigVMFunction_MathFloatDiv().A, 0.f);
	EXPECT_EQ(FRigUnit_SetControlVisibility().Item.Type, ERigElementType::Control);
}

TEST(RigUnitCatalogue, QuaternionScaleTurnsFactorTimesAsFarAboutTheSameAxis)
{
	FRigVMFunction_MathQuaternionScaleV2 Scale;
	EXPECT_FLOAT_EQ(Scale.Factor, 1.f);
	const FVector Axis = FVector(1, 2, 2).GetSafeNormal();
	Scale.Value = FQuat(Axis, FMath::DegreesToRadians(20.0));
	Scale.Factor = 3.f;
	Scale.Execute();
	EXPECT_TRUE(Scale.Result.Equals(FQuat(Axis, FMath::DegreesToRadians(60.0)), 1e-5));
	Scale.Value = FQuat::Identity;
	Scale.Execute();
	EXPECT_TRUE(Scale.Result.Equals(FQuat::Identity, 1e-6)) << "no turn scales to no turn";
}
