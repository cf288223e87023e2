#include "UObject/SoftObjectPath.h"

#include "UObject/Object.h"
#include "UObject/UObjectGlobals.h"

namespace
{
	FSoftObjectLoader& Loader()
	{
		static FSoftObjectLoader Instance = nullptr;
		return Instance;
	}
}

void SetSoftObjectLoader(FSoftObjectLoader InLoader)
{
	Loader() = InLoader;
}

FSoftObjectPath::FSoftObjectPath(const UObject* Object)
{
	if (Object)
	{
		AssetPath = Object->GetPathName();
	}
}

void FSoftObjectPath::SetPath(const FString& Path)
{
	FString Trimmed = Path.TrimStartAndEnd();
	if (Trimmed.IsEmpty() || Trimmed == TEXT("None"))
	{
		AssetPath.Reset();
		return;
	}
	int32 Dot = INDEX_NONE;
	if (!Trimmed.FindChar('.', Dot))
	{
		int32 Slash = INDEX_NONE;
		Trimmed.FindLastChar('/', Slash);
		Trimmed = Trimmed + TEXT(".") + Trimmed.Mid(Slash + 1);
	}
	AssetPath = Trimmed;
}

FString FSoftObjectPath::GetAssetPathString() const
{
	FString Asset;
	return AssetPath.Split(SUBOBJECT_DELIMITER, &Asset, nullptr) ? Asset : AssetPath;
}

FString FSoftObjectPath::GetLongPackageName() const
{
	FString Package;
	return AssetPath.Split(TEXT("."), &Package, nullptr) ? Package : AssetPath;
}

FString FSoftObjectPath::GetAssetName() const
{
	FString Name;
	return GetAssetPathString().Split(TEXT("."), nullptr, &Name) ? Name : FString();
}

FString FSoftObjectPath::GetSubPathString() const
{
	FString SubPath;
	return AssetPath.Split(SUBOBJECT_DELIMITER, nullptr, &SubPath) ? SubPath : FString();
}

UObject* FSoftObjectPath::ResolveObject() const
{
	return IsNull() ? nullptr : StaticFindObject(nullptr, nullptr, *AssetPath);
}

UObject* FSoftObjectPath::TryLoad(FUObjectSerializeContext* InLoadContext) const
{
	if (IsNull())
	{
		return nullptr;
	}
	if (UObject* Loaded = ResolveObject())
	{
		return Loaded;
	}
	return Loader() ? Loader()(AssetPath) : StaticLoadObject(UObject::StaticClass(), nullptr, *AssetPath, nullptr, LOAD_NoWarn);
}
