// Stand-in only: makes the third-person template's gameplay assets, as the engine's Third Person
// template ships them, in the running project (for the committed template content and for tests).
#pragma once

#include "CoreMinimal.h"

class USkeletalMesh;

namespace HostEditor
{
	/** The template's object paths. */
	namespace ThirdPersonTemplate
	{
		inline const TCHAR* const CharacterPath = TEXT("/Game/ThirdPerson/Blueprints/BP_ThirdPersonCharacter");
		inline const TCHAR* const GameModePath = TEXT("/Game/ThirdPerson/Blueprints/BP_ThirdPersonGameMode");
		inline const TCHAR* const PlayerControllerPath = TEXT("/Game/ThirdPerson/Blueprints/BP_ThirdPersonPlayerController");
		inline const TCHAR* const AnimBlueprintPath = TEXT("/Game/Characters/Mannequins/Anims/Unarmed/ABP_Unarmed");
		inline const TCHAR* const BlendSpacePath = TEXT("/Game/Characters/Mannequins/Anims/Unarmed/BS_Idle_Walk_Run");
		inline const TCHAR* const ClipFolder = TEXT("/Game/Characters/Mannequins/Anims/Unarmed");
	}

	/**
	 * Makes and saves, for Mesh (the mannequin) and its Skeleton:
	 * - the locomotion clips MM_Idle, MM_Walk_Fwd and MM_Run_Fwd in the clip folder;
	 * - BS_Idle_Walk_Run, a one-axis BlendSpace: axis "Speed" 0..500 in 4 divisions, samples MM_Idle
	 *   at 0, MM_Walk_Fwd at 200 and MM_Run_Fwd at 500;
	 * - ABP_Unarmed: its EventGraph casts to BP_ThirdPersonCharacter; its AnimGraph plays the
	 *   BlendSpace into a Control Rig node into the Output Pose;
	 * - BP_ThirdPersonCharacter: a Character whose Mesh shows the mesh with ABP_Unarmed, capsule
	 *   35 by 90, Mesh at (0, 0, -89) turned -90 degrees, the template's movement values and a
	 *   CameraBoom spring arm 400 long;
	 * - BP_ThirdPersonPlayerController and BP_ThirdPersonGameMode (its pawn the character, its
	 *   controller the player controller).
	 * Returns the object paths made, or none with OutError.
	 */
	UNREALED_API TArray<FString> MakeThirdPersonGameplayTemplates(USkeletalMesh* Mesh, FString& OutError);
}
