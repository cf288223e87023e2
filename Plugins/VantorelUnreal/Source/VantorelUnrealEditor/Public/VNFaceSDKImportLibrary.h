// The editor module's native function library: what the tool script, the tools window and the import
// factory call for work that needs native code.
#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintFunctionLibrary.h"

#include "VNFaceSDKImportLibrary.generated.h"

class UControlRigBlueprint;
class USkeletalMesh;
class UVNFaceRigDataAsset;

UCLASS()
class VANTORELUNREALEDITOR_API UVNFaceSDKImportLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	/**
	 * Replaces the drivers of a face rig data asset with the drivers of a Face rig JSON file, as written.
	 * Returns false with OutError ("Import failed: ...") when the asset is missing, the file cannot be
	 * read or its drivers are malformed; the asset is then unchanged. The asset is marked dirty, not saved.
	 */
	UFUNCTION(BlueprintCallable, CallInEditor, Category = "Vantorel Face")
	static bool ImportVNFaceSDKJson(UVNFaceRigDataAsset* TargetAsset, const FString& JsonFilePath, FString& OutError);

	/** Replaces the drivers of a face rig data asset with the drivers of Face rig JSON text; see ImportVNFaceSDKJson. */
	static bool ImportVNFaceSDKJsonText(UVNFaceRigDataAsset* TargetAsset, const FString& JsonText, FString& OutError);

	/**
	 * Places an existing control on a bone of a skeletal mesh: the control's offset becomes the bone's
	 * reference pose (component space) with the absolute ControlScale as its scale, and its shape is
	 * pushed out horizontally from the vertical axis by HorizontalPush. Writes both poses, marks the
	 * rig dirty; false with a warning when the rig, mesh, control or bone is missing.
	 */
	UFUNCTION(BlueprintCallable, CallInEditor, Category = "Vantorel Face")
	static bool ConfigureOnFaceControl(UControlRigBlueprint* ControlRigBlueprint, USkeletalMesh* SkeletalMesh, FName ControlName, FName BoneName, FVector ControlScale, float ShapeSize, float HorizontalPush = 1.2f);

	/** Places an on-face control from Maya's Y-up world-space data. */
	UFUNCTION(BlueprintCallable, CallInEditor, Category = "Vantorel Face")
	static bool ConfigureOnFaceControlFromMayaData(UControlRigBlueprint* ControlRigBlueprint, FName ControlName, FVector MayaControlPosition, FVector MayaControlRotation, const TArray<float>& MayaControlWorldMatrix, FVector MayaShapePosition, FVector ControlScale, float ShapeScale, bool bMatchParentOrientation = false, bool bFlipShapeX = false);

	/**
	 * Places an existing control at a global transform (its scale replaced by the absolute
	 * ControlScale) and gives it ShapeTransform as its shape. False with a warning when the control is
	 * missing.
	 */
	UFUNCTION(BlueprintCallable, CallInEditor, Category = "Vantorel Face")
	static bool ConfigureOnFaceControlFromTransform(UControlRigBlueprint* ControlRigBlueprint, FName ControlName, FTransform ControlGlobalTransform, FVector ControlScale, FTransform ShapeTransform);

	/** Updates only a control's Shape Transform location from a Maya world-space picker point. */
	UFUNCTION(BlueprintCallable, CallInEditor, Category = "Vantorel Face")
	static bool SetControlShapeFromMayaWorldPosition(UControlRigBlueprint* ControlRigBlueprint, FName ControlName, FVector MayaShapeWorldPosition, float ShapeScale);

	/**
	 * Applies only the rotation from an authored Maya world matrix to an
	 * existing body control offset. Its body placement and shape stay intact.
	 */
	UFUNCTION(BlueprintCallable, CallInEditor, Category = "Vantorel Unreal")
	static bool ConfigureBodyControlRotationFromMayaMatrix(UControlRigBlueprint* ControlRigBlueprint, FName ControlName, const TArray<float>& MayaControlWorldMatrix);

	/** Parent an existing control in native code and verify the resulting hierarchy. */
	UFUNCTION(BlueprintCallable, CallInEditor, Category = "Vantorel Face")
	static bool EnsureControlParent(UControlRigBlueprint* ControlRigBlueprint, FName ControlName, FName ParentName, bool bMaintainGlobalTransform = true);

	/**
	 * Replaces the rig's bones with the bones of a skeletal mesh, leaving out the Maya rig's own top
	 * groups "MotionSystem", "MainSystem" and "Main"; each remaining bone hangs below its nearest kept
	 * ancestor. Other elements stay. False with a warning when the rig or the mesh is missing.
	 */
	UFUNCTION(BlueprintCallable, CallInEditor, Category = "Vantorel Unreal")
	static bool ImportBodyControlRigBones(UControlRigBlueprint* ControlRigBlueprint, USkeletalMesh* SkeletalMesh);

	/**
	 * Opens the body rig progress window showing Message and an empty bar, closing any progress window
	 * still open. The window sits above the tools window when that is open, else on its own. Ticks and
	 * paints the user interface at once, since a rig build keeps the editor from doing so.
	 */
	UFUNCTION(BlueprintCallable, CallInEditor, Category = "Vantorel Unreal")
	static void BeginBodyRigProgress(const FText& Message);

	/**
	 * Shows Message and fills the progress bar to Percent (0 to 100; values outside are clamped) in the
	 * open progress window, then ticks and paints the user interface. Without a window it only ticks.
	 */
	UFUNCTION(BlueprintCallable, CallInEditor, Category = "Vantorel Unreal")
	static void UpdateBodyRigProgress(float Percent, const FText& Message);

	/** Closes the progress window, if one is open, then ticks and paints the user interface. */
	UFUNCTION(BlueprintCallable, CallInEditor, Category = "Vantorel Unreal")
	static void EndBodyRigProgress();

	/**
	 * Opens the Vantorel tools for a source file: chooses the target skeletal mesh (by object path, else
	 * the Content Browser's selected skeletal mesh), loads the tool script into the editor's Python the
	 * first time in this editor run, and brings up the tools.
	 */
	/**
	 * Sets the mesh's Skeleton up for mannequin animations: every bone takes its translation from the
	 * Skeleton, the mannequin's IK bones (ik_foot_root, ik_hand_gun, ...) from the animation. Only bones
	 * whose mode differs are changed; the Skeleton is marked dirty, not saved. Returns how many bones
	 * changed, 0 when the mesh or its Skeleton is missing (with a warning).
	 */
	UFUNCTION(BlueprintCallable, CallInEditor, Category = "Vantorel Unreal")
	static int32 SetMannequinRetargetingOptions(USkeletalMesh* SkeletalMesh);

	/**
	 * Creates the playable third-person setup for a character with its own skeleton, without asking:
	 * copies of the Third Person template's character, animation blueprint, BlendSpace, player
	 * controller and game mode next to the mesh, the FBX clips of the folder imported, and the size
	 * matched to the mannequin (bMatchMannequinSize) or the gameplay values scaled to the character.
	 * OutMessage is the summary or the first failure.
	 */
	UFUNCTION(BlueprintCallable, CallInEditor, Category = "Vantorel Unreal")
	static bool CreateStandardGameplayAssetsForBatch(USkeletalMesh* SkeletalMesh, const FString& FbxAnimationsFolder, bool bMatchMannequinSize, FString& OutMessage);

	UFUNCTION(BlueprintCallable, CallInEditor, Category = "Vantorel Unreal")
	static void OpenVantorelTools(const FString& SourceFile, bool bIncludeFaceSolver, bool bIncludeRetargetingOptions, const FString& TargetSkeletalMeshPath, const FString& FaceJsonFile);
};
