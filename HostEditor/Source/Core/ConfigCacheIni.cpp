// The configuration cache: ini files parsed into sections of ordered key/value lines, written back
// whole on Flush. Lines that are neither a section header nor "Key=Value" are kept out of the cache
// (the engine skips them too); comments (";" or "#") are dropped.

#include "Misc/ConfigCacheIni.h"

#include "CoreGlobals.h"
#include "HAL/FileManager.h"
#include "Misc/CString.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"

FConfigCacheIni* GConfig = nullptr;
FString GEditorPerProjectIni;

struct FConfigCacheIni::FImpl
{
	struct FSection
	{
		FString Name;
		TArray<TPair<FString, FString>> Values;
	};

	struct FFile
	{
		TArray<FSection> Sections;
		bool bDirty = false;
	};

	TMap<FString, FFile> Files;

	static FFile Parse(const FString& Text)
	{
		FFile File;
		FSection* Current = nullptr;
		TArray<FString> Lines;
		Text.ParseIntoArrayLines(Lines, true);
		for (const FString& Raw : Lines)
		{
			const FString Line = Raw.TrimStartAndEnd();
			if (Line.IsEmpty() || Line.StartsWith(TEXT(";")) || Line.StartsWith(TEXT("#")))
			{
				continue;
			}
			if (Line.StartsWith(TEXT("[")) && Line.EndsWith(TEXT("]")))
			{
				File.Sections.Add(FSection{Line.Mid(1, Line.Len() - 2), {}});
				Current = &File.Sections.Last();
				continue;
			}
			FString Key, Value;
			if (Current && Line.Split(TEXT("="), &Key, &Value))
			{
				Current->Values.Add(TPair<FString, FString>(Key.TrimStartAndEnd(), Value));
			}
		}
		return File;
	}

	FFile& Find(const FString& Filename)
	{
		if (FFile* Found = Files.Find(Filename))
		{
			return *Found;
		}
		FString Text;
		FFile Loaded = FFileHelper::LoadFileToString(Text, *Filename) ? Parse(Text) : FFile();
		return Files.Add(Filename, MoveTemp(Loaded));
	}

	static FSection* FindSection(FFile& File, const TCHAR* Section)
	{
		for (FSection& Candidate : File.Sections)
		{
			if (Candidate.Name == Section)
			{
				return &Candidate;
			}
		}
		return nullptr;
	}

	static bool Write(const FString& Filename, const FFile& File)
	{
		FString Text;
		for (const FSection& Section : File.Sections)
		{
			Text += FString::Printf(TEXT("[%s]\n"), *Section.Name);
			for (const TPair<FString, FString>& Value : Section.Values)
			{
				Text += FString::Printf(TEXT("%s=%s\n"), *Value.Key, *Value.Value);
			}
			Text += TEXT("\n");
		}
		IFileManager::Get().MakeDirectory(*FPaths::GetPath(Filename), true);
		return FFileHelper::SaveStringToFile(Text, *Filename);
	}
};

FConfigCacheIni::FConfigCacheIni() : Impl(new FImpl())
{
}

FConfigCacheIni::~FConfigCacheIni()
{
	delete Impl;
}

bool FConfigCacheIni::GetString(const TCHAR* Section, const TCHAR* Key, FString& Value, const FString& Filename)
{
	FImpl::FSection* Found = FImpl::FindSection(Impl->Find(Filename), Section);
	if (!Found)
	{
		return false;
	}
	for (const TPair<FString, FString>& Entry : Found->Values)
	{
		if (Entry.Key.Equals(Key, ESearchCase::IgnoreCase))
		{
			Value = Entry.Value;
			return true;
		}
	}
	return false;
}

void FConfigCacheIni::SetString(const TCHAR* Section, const TCHAR* Key, const TCHAR* Value, const FString& Filename)
{
	FImpl::FFile& File = Impl->Find(Filename);
	FImpl::FSection* Found = FImpl::FindSection(File, Section);
	if (!Found)
	{
		File.Sections.Add(FImpl::FSection{Section, {}});
		Found = &File.Sections.Last();
	}
	File.bDirty = true;
	for (TPair<FString, FString>& Entry : Found->Values)
	{
		if (Entry.Key.Equals(Key, ESearchCase::IgnoreCase))
		{
			Entry.Value = Value;
			return;
		}
	}
	Found->Values.Add(TPair<FString, FString>(Key, Value));
}

bool FConfigCacheIni::GetBool(const TCHAR* Section, const TCHAR* Key, bool& Value, const FString& Filename)
{
	FString Text;
	if (!GetString(Section, Key, Text, Filename))
	{
		return false;
	}
	Value = FCString::ToBool(*Text);
	return true;
}

void FConfigCacheIni::SetBool(const TCHAR* Section, const TCHAR* Key, bool Value, const FString& Filename)
{
	SetString(Section, Key, Value ? TEXT("True") : TEXT("False"), Filename);
}

bool FConfigCacheIni::RemoveKey(const TCHAR* Section, const TCHAR* Key, const FString& Filename)
{
	FImpl::FFile& File = Impl->Find(Filename);
	FImpl::FSection* Found = FImpl::FindSection(File, Section);
	if (!Found)
	{
		return false;
	}
	const int32 Removed = Found->Values.RemoveAll([Key](const TPair<FString, FString>& Entry) { return Entry.Key.Equals(Key, ESearchCase::IgnoreCase); });
	File.bDirty |= Removed > 0;
	return Removed > 0;
}

void FConfigCacheIni::Flush(bool bRemoveFromCache, const FString& Filename)
{
	TArray<FString> Names;
	for (TPair<FString, FImpl::FFile>& Entry : Impl->Files)
	{
		if (Filename.IsEmpty() || Entry.Key == Filename)
		{
			if (Entry.Value.bDirty && FImpl::Write(Entry.Key, Entry.Value))
			{
				Entry.Value.bDirty = false;
			}
			Names.Add(Entry.Key);
		}
	}
	if (bRemoveFromCache)
	{
		for (const FString& Name : Names)
		{
			Impl->Files.Remove(Name);
		}
	}
}
