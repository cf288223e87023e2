// The running engine's version: the stand-in stands for Unreal Engine 5.4.

#include "Misc/EngineVersion.h"

FEngineVersionBase::FEngineVersionBase(uint16 InMajor, uint16 InMinor, uint16 InPatch, uint32 InChangelist)
	: Major(InMajor)
	, Minor(InMinor)
	, Patch(InPatch)
	, Changelist(InChangelist)
{
}

FEngineVersion::FEngineVersion(uint16 InMajor, uint16 InMinor, uint16 InPatch, uint32 InChangelist, const FString& InBranch)
	: FEngineVersionBase(InMajor, InMinor, InPatch, InChangelist)
	, Branch(InBranch)
{
}

const FEngineVersion& FEngineVersion::Current()
{
	static const FEngineVersion Version(5, 4, 4, 0, TEXT("++UE5+Release-5.4"));
	return Version;
}
