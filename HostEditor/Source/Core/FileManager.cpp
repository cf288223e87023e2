#include "HAL/FileManager.h"

#include <filesystem>

#include "Containers/StringConv.h"

namespace
{
	std::filesystem::path ToPath(const TCHAR* Filename)
	{
		return std::filesystem::path(FTCHARToUTF8(Filename).Get());
	}

	FString FromPath(const std::filesystem::path& Path)
	{
		return FString(FUTF8ToTCHAR(Path.generic_string().c_str()).Get());
	}
}

IFileManager& IFileManager::Get()
{
	static IFileManager Singleton;
	return Singleton;
}

bool IFileManager::FileExists(const TCHAR* Filename)
{
	std::error_code Error;
	return std::filesystem::is_regular_file(ToPath(Filename), Error);
}

bool IFileManager::DirectoryExists(const TCHAR* Directory)
{
	std::error_code Error;
	return std::filesystem::is_directory(ToPath(Directory), Error);
}

bool IFileManager::MakeDirectory(const TCHAR* Path, bool Tree)
{
	std::error_code Error;
	const std::filesystem::path Folder = ToPath(Path);
	if (std::filesystem::is_directory(Folder, Error))
	{
		return true;
	}
	if (Tree)
	{
		std::filesystem::create_directories(Folder, Error);
	}
	else
	{
		std::filesystem::create_directory(Folder, Error);
	}
	return std::filesystem::is_directory(Folder, Error);
}

bool IFileManager::DeleteDirectory(const TCHAR* Path, bool RequireExists, bool Tree)
{
	std::error_code Error;
	const std::filesystem::path Folder = ToPath(Path);
	if (!std::filesystem::is_directory(Folder, Error))
	{
		return !RequireExists;
	}
	if (Tree)
	{
		std::filesystem::remove_all(Folder, Error);
	}
	else
	{
		std::filesystem::remove(Folder, Error);
	}
	return !Error && !std::filesystem::exists(Folder, Error);
}

bool IFileManager::Delete(const TCHAR* Filename, bool RequireExists, bool EvenReadOnly, bool Quiet)
{
	(void)Quiet;
	std::error_code Error;
	const std::filesystem::path Path = ToPath(Filename);
	if (!std::filesystem::is_regular_file(Path, Error))
	{
		return !RequireExists;
	}
	// A file nobody may write to is read-only (checked out by no one); it stays unless EvenReadOnly.
	const std::filesystem::perms Permissions = std::filesystem::status(Path, Error).permissions();
	const std::filesystem::perms Write = std::filesystem::perms::owner_write | std::filesystem::perms::group_write | std::filesystem::perms::others_write;
	if (!EvenReadOnly && !Error && (Permissions & Write) == std::filesystem::perms::none)
	{
		return false;
	}
	return std::filesystem::remove(Path, Error) && !Error;
}

bool IFileManager::Move(const TCHAR* Dest, const TCHAR* Src, bool Replace, bool EvenIfReadOnly, bool Attributes, bool bDoNotRetryOrError)
{
	(void)EvenIfReadOnly;
	(void)Attributes;
	(void)bDoNotRetryOrError;
	std::error_code Error;
	const std::filesystem::path Target = ToPath(Dest);
	if (!Replace && std::filesystem::exists(Target, Error))
	{
		return false;
	}
	if (Target.has_parent_path())
	{
		std::filesystem::create_directories(Target.parent_path(), Error);
	}
	std::filesystem::rename(ToPath(Src), Target, Error);
	return !Error;
}

uint32 IFileManager::Copy(const TCHAR* Dest, const TCHAR* Src, bool Replace, bool EvenIfReadOnly, bool Attributes)
{
	(void)EvenIfReadOnly;
	(void)Attributes;
	std::error_code Error;
	const std::filesystem::path Target = ToPath(Dest);
	if (Target.has_parent_path())
	{
		std::filesystem::create_directories(Target.parent_path(), Error);
	}
	const auto Options = Replace ? std::filesystem::copy_options::overwrite_existing : std::filesystem::copy_options::skip_existing;
	return std::filesystem::copy_file(ToPath(Src), Target, Options, Error) && !Error ? COPY_OK : COPY_Fail;
}

int64 IFileManager::FileSize(const TCHAR* Filename)
{
	std::error_code Error;
	const auto Size = std::filesystem::file_size(ToPath(Filename), Error);
	return Error ? -1 : (int64)Size;
}

void IFileManager::FindFiles(TArray<FString>& FileNames, const TCHAR* Filename, bool Files, bool Directories)
{
	const FString Pattern(Filename);
	FString Folder = Pattern;
	FString Wildcard = TEXT("*");
	int32 SlashIndex = INDEX_NONE;
	if (Pattern.FindLastChar('/', SlashIndex) && (Pattern.Contains(TEXT("*")) || Pattern.Contains(TEXT("?"))))
	{
		Folder = Pattern.Left(SlashIndex);
		Wildcard = Pattern.Mid(SlashIndex + 1);
	}
	std::error_code Error;
	for (const auto& Entry : std::filesystem::directory_iterator(ToPath(*Folder), Error))
	{
		const bool bIsDirectory = Entry.is_directory(Error);
		if ((bIsDirectory && !Directories) || (!bIsDirectory && !Files))
		{
			continue;
		}
		const FString Name = FromPath(Entry.path().filename());
		if (Name.MatchesWildcard(Wildcard))
		{
			FileNames.Add(Name);
		}
	}
	FileNames.Sort();
}

void IFileManager::FindFilesRecursive(TArray<FString>& FileNames, const TCHAR* StartDirectory, const TCHAR* Filename, bool Files, bool Directories, bool bClearFileNames)
{
	if (bClearFileNames)
	{
		FileNames.Reset();
	}
	const FString Wildcard(Filename);
	std::error_code Error;
	TArray<FString> Found;
	for (const auto& Entry : std::filesystem::recursive_directory_iterator(ToPath(StartDirectory), Error))
	{
		const bool bIsDirectory = Entry.is_directory(Error);
		if ((bIsDirectory && !Directories) || (!bIsDirectory && !Files))
		{
			continue;
		}
		if (FromPath(Entry.path().filename()).MatchesWildcard(Wildcard))
		{
			Found.Add(FromPath(Entry.path()));
		}
	}
	Found.Sort();
	FileNames.Append(Found);
}

FString IFileManager::ConvertToAbsolutePathForExternalAppForRead(const TCHAR* Filename)
{
	std::error_code Error;
	return FromPath(std::filesystem::absolute(ToPath(Filename), Error));
}
