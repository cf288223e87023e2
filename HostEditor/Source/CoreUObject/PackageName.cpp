// Long package names, object paths and the content folders they map to.

#include "Misc/PackageName.h"

#include "HAL/FileManager.h"
#include "Misc/Paths.h"
#include "UObject/Object.h"

namespace
{
	/** Characters a long package name may not contain. */
	const TCHAR* const InvalidLongPackageCharacters = TEXT("\\:*?\"<>|' ,.&!~\n\r\t@#");
	/** Characters an object name may not contain. */
	const TCHAR* const InvalidObjectNameCharacters = TEXT("\"' ,/.:|&!~\n\r\t@#(){}[]=;^%$`");
	const TCHAR* const GameRoot = TEXT("/Game/");
	// The engine's own content is always mounted, as in every editor.
	const TCHAR* const EngineRoot = TEXT("/Engine/");

	struct FMountPoint
	{
		FString RootPath;
		FString ContentPath;
	};

	TArray<FMountPoint>& MountPoints()
	{
		static TArray<FMountPoint> Points;
		return Points;
	}

	FString WithSlashes(const FString& Root)
	{
		FString Result = Root;
		if (!Result.StartsWith(TEXT("/")))
		{
			Result = TEXT("/") + Result;
		}
		if (!Result.EndsWith(TEXT("/")))
		{
			Result.AppendChar('/');
		}
		return Result;
	}

	FString ContentFolderWithSlash(FString Folder)
	{
		FPaths::NormalizeDirectoryName(Folder);
		if (!Folder.EndsWith(TEXT("/")))
		{
			Folder.AppendChar('/');
		}
		return Folder;
	}

	/** The content folder of a root; the project's Content folder for "/Game/", the engine's for "/Engine/". */
	bool ContentFolderOfRoot(const FString& Root, FString& OutFolder)
	{
		if (Root.Equals(GameRoot, ESearchCase::IgnoreCase))
		{
			OutFolder = FPaths::ProjectContentDir();
			return !FPaths::ProjectDir().IsEmpty();
		}
		if (Root.Equals(EngineRoot, ESearchCase::IgnoreCase))
		{
			OutFolder = FPaths::Combine(FPaths::EngineDir(), TEXT("Content/"));
			return !FPaths::EngineDir().IsEmpty();
		}
		for (const FMountPoint& Point : MountPoints())
		{
			if (Point.RootPath.Equals(Root, ESearchCase::IgnoreCase))
			{
				OutFolder = Point.ContentPath;
				return true;
			}
		}
		return false;
	}

	/** The mounted root a long package name starts with ("/Game/"), or empty. A root mounted inside
	 * another ("/Game/ThirdPerson/" in "/Game/") holds the packages below it. */
	FString RootOf(const FString& LongPackageName)
	{
		FString Longest;
		for (const FMountPoint& Point : MountPoints())
		{
			if (LongPackageName.StartsWith(Point.RootPath, ESearchCase::IgnoreCase) && Point.RootPath.Len() > Longest.Len())
			{
				Longest = Point.RootPath;
			}
		}
		if (!Longest.IsEmpty())
		{
			return LongPackageName.Left(Longest.Len());
		}
		int32 Slash = INDEX_NONE;
		const FString AfterFirst = LongPackageName.Mid(1);
		if (!LongPackageName.StartsWith(TEXT("/")) || !AfterFirst.FindChar('/', Slash))
		{
			return FString();
		}
		const FString Root = LongPackageName.Left(Slash + 2);
		FString Folder;
		return ContentFolderOfRoot(Root, Folder) ? Root : FString();
	}

	bool ContainsAnyOf(const FString& Text, const TCHAR* Characters)
	{
		for (const TCHAR* Character = Characters; *Character; ++Character)
		{
			int32 Index = INDEX_NONE;
			if (Text.FindChar(*Character, Index))
			{
				return true;
			}
		}
		return false;
	}

	bool Fail(FText* OutReason, const FString& Reason)
	{
		if (OutReason)
		{
			*OutReason = FText::FromString(Reason);
		}
		return false;
	}
}

bool FPackageName::IsValidLongPackageName(const FString& InLongPackageName, bool bIncludeReadOnlyRoots, FText* OutReason)
{
	if (InLongPackageName.IsEmpty())
	{
		return Fail(OutReason, TEXT("Package names may not be empty."));
	}
	if (ContainsAnyOf(InLongPackageName, InvalidLongPackageCharacters))
	{
		return Fail(OutReason, FString::Printf(TEXT("'%s' contains characters a package name may not hold."), *InLongPackageName));
	}
	if (InLongPackageName.EndsWith(TEXT("/")) || InLongPackageName.Contains(TEXT("//")))
	{
		return Fail(OutReason, FString::Printf(TEXT("'%s' has an empty folder or ends with a slash."), *InLongPackageName));
	}
	const FString Root = RootOf(InLongPackageName);
	if (Root.IsEmpty() || InLongPackageName.Len() <= Root.Len())
	{
		return Fail(OutReason, FString::Printf(TEXT("'%s' does not start with a mounted root such as /Game/."), *InLongPackageName));
	}
	return true;
}

bool FPackageName::IsValidObjectPath(const FString& InObjectPath, FText* OutReason)
{
	FString PackageName;
	FString ObjectName;
	if (!InObjectPath.Split(TEXT("."), &PackageName, &ObjectName))
	{
		return Fail(OutReason, FString::Printf(TEXT("'%s' is not an object path: it has no '.'."), *InObjectPath));
	}
	if (!IsValidLongPackageName(PackageName, false, OutReason))
	{
		return false;
	}
	TArray<FString> Parts;
	ObjectName.Replace(SUBOBJECT_DELIMITER, TEXT("."), ESearchCase::CaseSensitive).ParseIntoArray(Parts, TEXT("."), false);
	for (const FString& Part : Parts)
	{
		if (Part.IsEmpty() || ContainsAnyOf(Part, InvalidObjectNameCharacters))
		{
			return Fail(OutReason, FString::Printf(TEXT("'%s' has an object name that is empty or holds characters names may not hold."), *InObjectPath));
		}
	}
	return true;
}

bool FPackageName::TryConvertLongPackageNameToFilename(const FString& InLongPackageName, FString& OutFilename, const FString& InExtension)
{
	if (!IsValidLongPackageName(InLongPackageName))
	{
		return false;
	}
	const FString Root = RootOf(InLongPackageName);
	FString Folder;
	ContentFolderOfRoot(Root, Folder);
	OutFilename = ContentFolderWithSlash(Folder) + InLongPackageName.Mid(Root.Len()) + InExtension;
	return true;
}

FString FPackageName::LongPackageNameToFilename(const FString& InLongPackageName, const FString& InExtension)
{
	FString Filename;
	if (!TryConvertLongPackageNameToFilename(InLongPackageName, Filename, InExtension))
	{
		UE_LOG(LogCore, Error, TEXT("LongPackageNameToFilename: '%s' is not a valid long package name"), *InLongPackageName);
	}
	return Filename;
}

bool FPackageName::TryConvertFilenameToLongPackageName(const FString& InFilename, FString& OutPackageName, FString* OutFailureReason)
{
	FString Full = FPaths::ConvertRelativePathToFull(InFilename);
	FPaths::NormalizeFilename(Full);
	TArray<FString> Roots;
	QueryRootContentPaths(Roots);
	for (const FString& Root : Roots)
	{
		FString Folder;
		ContentFolderOfRoot(Root, Folder);
		const FString ContentFolder = ContentFolderWithSlash(FPaths::ConvertRelativePathToFull(Folder));
		if (Full.StartsWith(ContentFolder, ESearchCase::CaseSensitive) || (Full + TEXT("/")).Equals(ContentFolder, ESearchCase::CaseSensitive))
		{
			FString Relative = Full.Len() >= ContentFolder.Len() ? Full.Mid(ContentFolder.Len()) : FString();
			const FString Extension = FPaths::GetExtension(Relative, true);
			if (Extension.Equals(GetAssetPackageExtension(), ESearchCase::IgnoreCase))
			{
				Relative = Relative.LeftChop(Extension.Len());
			}
			if (Relative.EndsWith(TEXT("/")))
			{
				Relative.LeftChopInline(1);
			}
			OutPackageName = Root + Relative;
			if (OutPackageName.EndsWith(TEXT("/")))
			{
				OutPackageName.LeftChopInline(1);
			}
			return true;
		}
	}
	if (OutFailureReason)
	{
		*OutFailureReason = FString::Printf(TEXT("'%s' is not below a mounted content folder"), *InFilename);
	}
	return false;
}

bool FPackageName::DoesPackageExist(const FString& LongPackageName, FString* OutFilename)
{
	FString Filename;
	if (!TryConvertLongPackageNameToFilename(LongPackageName, Filename, GetAssetPackageExtension()))
	{
		return false;
	}
	if (OutFilename)
	{
		*OutFilename = Filename;
	}
	return IFileManager::Get().FileExists(*Filename);
}

FString FPackageName::ObjectPathToPackageName(const FString& InObjectPath)
{
	FString PackageName;
	return InObjectPath.Split(TEXT("."), &PackageName, nullptr) ? PackageName : InObjectPath;
}

FString FPackageName::ObjectPathToObjectName(const FString& InObjectPath)
{
	FString ObjectName;
	return InObjectPath.Split(TEXT("."), nullptr, &ObjectName) ? ObjectName : InObjectPath;
}

FString FPackageName::GetLongPackageAssetName(const FString& InLongPackageName)
{
	FString AssetName;
	return InLongPackageName.Split(TEXT("/"), nullptr, &AssetName, ESearchCase::CaseSensitive, ESearchDir::FromEnd) ? AssetName : InLongPackageName;
}

FString FPackageName::GetLongPackagePath(const FString& InLongPackageName)
{
	FString Path;
	return InLongPackageName.Split(TEXT("/"), &Path, nullptr, ESearchCase::CaseSensitive, ESearchDir::FromEnd) ? Path : InLongPackageName;
}

void FPackageName::RegisterMountPoint(const FString& RootPath, const FString& ContentPath)
{
	const FString Root = WithSlashes(RootPath);
	UnRegisterMountPoint(Root, ContentPath);
	MountPoints().Add(FMountPoint{Root, ContentFolderWithSlash(ContentPath)});
}

void FPackageName::UnRegisterMountPoint(const FString& RootPath, const FString& ContentPath)
{
	const FString Root = WithSlashes(RootPath);
	MountPoints().RemoveAll([&](const FMountPoint& Point) { return Point.RootPath.Equals(Root, ESearchCase::IgnoreCase); });
}

void FPackageName::QueryRootContentPaths(TArray<FString>& OutRootContentPaths)
{
	OutRootContentPaths.Reset();
	OutRootContentPaths.Add(GameRoot);
	for (const FMountPoint& Point : MountPoints())
	{
		OutRootContentPaths.Add(Point.RootPath);
	}
}
