// FEngineVersion: the version of the running engine.
#pragma once

#include "CoreMinimal.h"

/** A version's numbers: major, minor, patch and changelist. */
class CORE_API FEngineVersionBase
{
public:
	FEngineVersionBase() = default;
	FEngineVersionBase(uint16 InMajor, uint16 InMinor, uint16 InPatch = 0, uint32 InChangelist = 0);

	uint16 GetMajor() const { return Major; }
	uint16 GetMinor() const { return Minor; }
	uint16 GetPatch() const { return Patch; }
	uint32 GetChangelist() const { return Changelist; }

protected:
	uint16 Major = 0;
	uint16 Minor = 0;
	uint16 Patch = 0;
	uint32 Changelist = 0;
};

class CORE_API FEngineVersion : public FEngineVersionBase
{
public:
	FEngineVersion() = default;
	FEngineVersion(uint16 InMajor, uint16 InMinor, uint16 InPatch, uint32 InChangelist, const FString& InBranch);

	/** The version of the engine that is running. */
	static const FEngineVersion& Current();

private:
	FString Branch;
};
