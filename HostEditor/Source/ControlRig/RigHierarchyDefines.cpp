#include "Rigs/RigHierarchyDefines.h"

#include "UObject/Class.h"

FString FRigElementKey::ToString() const
{
	const FString TypeName = StaticEnum<ERigElementType>()->GetNameStringByValue((int64)Type);
	return FString::Printf(TEXT("(Type=%s,Name=\"%s\")"), *TypeName, *Name.ToString());
}
