#include "Misc/Paths.h"

#include <filesystem>

#include "HAL/FileManager.h"
#include "HostEditorSupport/HostEditorPaths.h"

namespace
{
	FString& ProjectDirStorage()
	{
		static FString Dir;
		return Dir;
	}

	FString& EngineDirStorage()
	{
		static FString Dir;
		return Dir;
	}

	FString WithTrailingSlash(FString Path)
	{
		FPaths::NormalizeFilename(Path);
		if (!Path.IsEmpty() && !Path.EndsWith(TEXT("/")))
		{
			Path.AppendChar('/');
		}
		return Path;
	}

	/** Returns the position of the last path separator, or INDEX_NONE. */
	int32 LastSeparator(const FString& InPath)
	{
		for (int32 Index = InPath.Len() - 1; Index >= 0; --Index)
		{
			if (InPath[Index] == '/' || InPath[Index] == '\\')
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}

	FString CurrentDirectory()
	{
		std::error_code Error;
		return FString(FUTF8ToTCHAR(std::filesystem::current_path(Error).generic_string().c_str()).Get());
	}
}

namespace HostEditor
{
	void SetProjectDir(const FString& ProjectDir)
	{
		ProjectDirStorage() = WithTrailingSlash(FPaths::ConvertRelativePathToFull(ProjectDir));
	}

	void SetEngineDir(const FString& EngineDir)
	{
		EngineDirStorage() = WithTrailingSlash(FPaths::ConvertRelativePathToFull(EngineDir));
	}
}

FString FPaths::ProjectDir() { return ProjectDirStorage(); }
FString FPaths::ProjectContentDir() { return ProjectDir() + TEXT("Content/"); }
FString FPaths::ProjectIntermediateDir() { return ProjectDir() + TEXT("Intermediate/"); }
FString FPaths::ProjectSavedDir() { return ProjectDir() + TEXT("Saved/"); }
FString FPaths::ProjectConfigDir() { return ProjectDir() + TEXT("Config/"); }
FString FPaths::ProjectPluginsDir() { return ProjectDir() + TEXT("Plugins/"); }
FString FPaths::ProjectLogDir() { return ProjectSavedDir() + TEXT("Logs/"); }
FString FPaths::EngineDir() { return EngineDirStorage(); }
FString FPaths::RootDir() { return EngineDirStorage().IsEmpty() ? FString() : WithTrailingSlash(GetPath(GetPath(EngineDirStorage()))); }

FString FPaths::GetProjectFilePath()
{
	const FString Dir = ProjectDir();
	return Dir.IsEmpty() ? FString() : Dir + GetPathLeaf(Dir) + TEXT(".uproject");
}

bool FPaths::FileExists(const FString& InPath) { return IFileManager::Get().FileExists(*InPath); }
bool FPaths::DirectoryExists(const FString& InPath) { return IFileManager::Get().DirectoryExists(*InPath); }

FString FPaths::GetExtension(const FString& InPath, bool bIncludeDot)
{
	const FString Filename = GetCleanFilename(InPath);
	int32 DotIndex = INDEX_NONE;
	if (Filename.FindLastChar('.', DotIndex))
	{
		return Filename.Mid(bIncludeDot ? DotIndex : DotIndex + 1);
	}
	return FString();
}

FString FPaths::GetCleanFilename(const FString& InPath)
{
	return InPath.Mid(LastSeparator(InPath) + 1);
}

FString FPaths::GetBaseFilename(const FString& InPath, bool bRemovePath)
{
	FString Result = bRemovePath ? GetCleanFilename(InPath) : InPath;
	const int32 Separator = LastSeparator(Result);
	int32 DotIndex = INDEX_NONE;
	if (Result.FindLastChar('.', DotIndex) && DotIndex > Separator)
	{
		Result.LeftInline(DotIndex);
	}
	return Result;
}

FString FPaths::GetPath(const FString& InPath)
{
	const int32 Separator = LastSeparator(InPath);
	return Separator == INDEX_NONE ? FString() : InPath.Left(Separator);
}

FString FPaths::GetPathLeaf(const FString& InPath)
{
	FString Trimmed = InPath;
	while (Trimmed.Len() > 1 && (Trimmed.EndsWith(TEXT("/")) || Trimmed.EndsWith(TEXT("\\"))))
	{
		Trimmed.LeftChopInline(1);
	}
	return GetCleanFilename(Trimmed);
}

FString FPaths::ChangeExtension(const FString& InPath, const FString& InNewExtension)
{
	const int32 Separator = LastSeparator(InPath);
	int32 DotIndex = INDEX_NONE;
	if (!InPath.FindLastChar('.', DotIndex) || DotIndex < Separator)
	{
		return InPath;
	}
	FString Result = InPath.Left(DotIndex);
	if (!InNewExtension.IsEmpty())
	{
		if (!InNewExtension.StartsWith(TEXT(".")))
		{
			Result.AppendChar('.');
		}
		Result += InNewExtension;
	}
	return Result;
}

FString FPaths::SetExtension(const FString& InPath, const FString& InNewExtension)
{
	const int32 Separator = LastSeparator(InPath);
	int32 DotIndex = INDEX_NONE;
	FString Result = (InPath.FindLastChar('.', DotIndex) && DotIndex > Separator) ? InPath.Left(DotIndex) : InPath;
	if (!InNewExtension.IsEmpty())
	{
		if (!InNewExtension.StartsWith(TEXT(".")))
		{
			Result.AppendChar('.');
		}
		Result += InNewExtension;
	}
	return Result;
}

bool FPaths::IsRelative(const FString& InPath)
{
	return !(InPath.StartsWith(TEXT("/")) || InPath.StartsWith(TEXT("\\")) || (InPath.Len() >= 2 && InPath[1] == ':'));
}

void FPaths::NormalizeFilename(FString& InPath)
{
	InPath.ReplaceCharInline('\\', '/', ESearchCase::CaseSensitive);
}

void FPaths::NormalizeDirectoryName(FString& InPath)
{
	NormalizeFilename(InPath);
	while (InPath.Len() > 1 && InPath.EndsWith(TEXT("/")) && !InPath.EndsWith(TEXT("//")))
	{
		InPath.LeftChopInline(1);
	}
}

bool FPaths::CollapseRelativeDirectories(FString& InPath)
{
	NormalizeFilename(InPath);
	const bool bAbsolute = InPath.StartsWith(TEXT("/"));
	const bool bTrailingSlash = InPath.EndsWith(TEXT("/"));
	TArray<FString> Parts;
	InPath.ParseIntoArray(Parts, TEXT("/"), true);
	TArray<FString> Kept;
	for (const FString& Part : Parts)
	{
		if (Part == TEXT("."))
		{
			continue;
		}
		if (Part == TEXT(".."))
		{
			if (Kept.Num() == 0 || Kept.Last() == TEXT(".."))
			{
				if (bAbsolute)
				{
					return false;
				}
				Kept.Add(Part);
			}
			else
			{
				Kept.Pop();
			}
			continue;
		}
		Kept.Add(Part);
	}
	InPath = (bAbsolute ? TEXT("/") : TEXT("")) + FString::Join(Kept, TEXT("/"));
	if (bTrailingSlash && !Kept.IsEmpty())
	{
		InPath.AppendChar('/');
	}
	return true;
}

void FPaths::RemoveDuplicateSlashes(FString& InPath)
{
	while (InPath.ReplaceInline(TEXT("//"), TEXT("/"), ESearchCase::CaseSensitive) > 0)
	{
	}
}

FString FPaths::ConvertRelativePathToFull(const FString& InPath)
{
	return ConvertRelativePathToFull(CurrentDirectory(), InPath);
}

FString FPaths::ConvertRelativePathToFull(const FString& BasePath, const FString& InPath)
{
	FString Full = IsRelative(InPath) ? Combine(BasePath, InPath) : InPath;
	NormalizeFilename(Full);
	CollapseRelativeDirectories(Full);
	RemoveDuplicateSlashes(Full);
	return Full;
}

void FPaths::MakeStandardFilename(FString& InPath)
{
	InPath = ConvertRelativePathToFull(InPath);
}

void FPaths::MakePlatformFilename(FString& InPath)
{
	NormalizeFilename(InPath);
}

bool FPaths::MakePathRelativeTo(FString& InPath, const TCHAR* InRelativeTo)
{
	const std::filesystem::path Target(FTCHARToUTF8(*ConvertRelativePathToFull(InPath)).Get());
	FString Base = ConvertRelativePathToFull(FString(InRelativeTo));
	if (!Base.EndsWith(TEXT("/")))
	{
		Base = GetPath(Base);
	}
	const std::filesystem::path Relative = Target.lexically_relative(std::filesystem::path(FTCHARToUTF8(*Base).Get()));
	if (Relative.empty())
	{
		return false;
	}
	InPath = FString(FUTF8ToTCHAR(Relative.generic_string().c_str()).Get());
	return true;
}

bool FPaths::IsSamePath(const FString& PathA, const FString& PathB)
{
	FString A = ConvertRelativePathToFull(PathA);
	FString B = ConvertRelativePathToFull(PathB);
	NormalizeDirectoryName(A);
	NormalizeDirectoryName(B);
	return A.Equals(B, ESearchCase::CaseSensitive);
}
