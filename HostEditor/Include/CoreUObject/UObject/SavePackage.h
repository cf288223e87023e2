// FSavePackageArgs: how UPackage::SavePackage writes a package.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

class FOutputDevice;

/** Flags that control saving, combined into FSavePackageArgs::SaveFlags. */
enum ESaveFlags
{
	SAVE_None = 0x00000000,
	SAVE_NoError = 0x00000001,
	SAVE_FromAutosave = 0x00000002,
	SAVE_KeepDirty = 0x00000004,
	SAVE_Async = 0x00000010,
	SAVE_Unversioned = 0x00000020,
};

/** The arguments of one package save. */
struct FSavePackageArgs
{
	/** Objects in the package with any of these flags are saved even when nothing refers to them. */
	EObjectFlags TopLevelFlags = RF_Standalone;
	/** A combination of ESaveFlags. */
	uint32 SaveFlags = SAVE_None;
	bool bForceByteSwapping = false;
	bool bWarnOfLongFilename = true;
	bool bSlowTask = true;
	/** Receives the save's warnings and errors, besides the log. */
	FOutputDevice* Error = nullptr;
};
