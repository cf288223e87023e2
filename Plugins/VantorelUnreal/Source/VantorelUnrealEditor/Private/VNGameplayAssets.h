// The playable third-person setup for a character with its own skeleton: copies of the engine's Third
// Person template next to the character's mesh, with its clips, rewired to it and sized to it.
#pragma once

#include "CoreMinimal.h"

class UClass;
class UObject;
class USkeletalMesh;

namespace VantorelGameplayAssets
{
	/** How a run ended: the success summary, or the first failure met. */
	struct FCreationResult
	{
		bool bSuccess = false;
		FString Message;
	};

	/**
	 * Creates the character, animation blueprint, BlendSpace, player controller and game mode next to
	 * the mesh from the template, imports the FBX clips under FbxFolder into the mesh's Anims folder,
	 * rewires the copies, compensates the size (a VantorelMannequinScale::ESizeCompensation), sets the
	 * editor level's GameMode Override and saves. Interactive runs also show the assets in the Content
	 * Browser. Assets made before a failing step stay.
	 */
	FCreationResult CreateStandardGameplayAssets(USkeletalMesh* Mesh, const FString& FbxFolder, int32 SizeCompensationMode, bool bInteractive);

	/**
	 * The copy of Template at Folder/Name of ExpectedClass: the object already there when it is of that
	 * class, else a new duplicate. Null with OutError when the object there is of another class or the
	 * duplicate cannot be made.
	 */
	UObject* DuplicateTemplate(UObject* Template, UClass* ExpectedClass, const FString& Folder, const FString& Name, FString& OutError);
}
