// The reverse-foot roll: turns the roll and rock channels of a foot into roller and pivot rotations.
#pragma once

#include "CoreMinimal.h"
#include "Units/RigUnit.h"

#include "RigUnit_VNReverseFootRoll.generated.h"

class URigHierarchy;

/**
 * Rolls a reverse foot from the IK control's roll channel and tilts it from its rock channel.
 *
 * Roll: a negative roll turns the heel roller; up to RollStartAngle the roll turns the toes roller
 * (the ball of the foot); between the start and end angles the ball eases back to zero while the
 * toe-end roller takes over, and past the end angle the toe end carries the whole roll. The three
 * angles always add up to the roll. Rollers turn about the foot's side axis: the horizontal axis at
 * right angles to the line from heel to toe end, as the rig was built.
 *
 * Rock: the rock value, clamped to each pivot's range and times its multiplier, turns the inner and
 * the outer rock pivot about their named local axis ("X", "Y" or "Z", "-" in front to turn the
 * other way).
 *
 * Every evaluation starts from the initial local transforms of the rollers and pivots, so the
 * result depends only on the channels. Missing elements are left alone.
 */
USTRUCT(meta = (DisplayName = "VN Reverse Foot Roll", Category = "Vantorel"))
struct VANTORELUNREAL_API FRigUnit_VNReverseFootRoll : public FRigUnitMutable
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	UPROPERTY(meta = (Input))
	FName IKControl;

	/** The float channel that holds the roll, in degrees. */
	UPROPERTY(meta = (Input))
	FName RollChannel;

	UPROPERTY(meta = (Input))
	FName HeelRoller;

	UPROPERTY(meta = (Input))
	FName ToesEndRoller;

	UPROPERTY(meta = (Input))
	FName ToesRoller;

	UPROPERTY(meta = (Input))
	float RollStartAngle = 30.0f;

	UPROPERTY(meta = (Input))
	float RollEndAngle = 60.0f;

	/** The float channel that holds the rock; none for a foot without rock. */
	UPROPERTY(meta = (Input))
	FName RockChannel;

	UPROPERTY(meta = (Input))
	FName InnerRockPivot;

	UPROPERTY(meta = (Input))
	FName OuterRockPivot;

	UPROPERTY(meta = (Input))
	FString InnerRockAxis = TEXT("X");

	UPROPERTY(meta = (Input))
	FString OuterRockAxis = TEXT("X");

	UPROPERTY(meta = (Input))
	float InnerRockMin = -200.0f;

	UPROPERTY(meta = (Input))
	float InnerRockMax = 0.0f;

	UPROPERTY(meta = (Input))
	float OuterRockMin = 0.0f;

	UPROPERTY(meta = (Input))
	float OuterRockMax = 200.0f;

	UPROPERTY(meta = (Input))
	float InnerRockMultiplier = 1.0f;

	UPROPERTY(meta = (Input))
	float OuterRockMultiplier = 1.0f;

	/** The heel, toes (ball) and toe-end angles for a roll, in degrees. */
	static void SplitRoll(float Roll, float StartAngle, float EndAngle, float& OutHeel, float& OutToes, float& OutToesEnd);
	/** The unit axis named by "X", "-Y", ...; none for any other text. */
	static TOptional<FVector> ParseAxis(const FString& AxisName);

	void Solve(URigHierarchy* Hierarchy) const;
};
