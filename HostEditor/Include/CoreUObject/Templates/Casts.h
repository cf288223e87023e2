// Cast and CastChecked between object classes.
#pragma once

#include "UObject/Class.h"
#include "UObject/Object.h"
#include "UObject/ObjectPtr.h"

/** Returns Src as a To, or null when it is null or of another class. */
template <typename To, typename From>
To* Cast(From* Src)
{
	// Through UObject, so that a cast between unrelated classes compiles and answers null.
	return Src && Src->IsA(To::StaticClass()) ? static_cast<To*>(static_cast<UObject*>(Src)) : nullptr;
}

template <typename To, typename From>
const To* Cast(const From* Src)
{
	return Src && Src->IsA(To::StaticClass()) ? static_cast<const To*>(static_cast<const UObject*>(Src)) : nullptr;
}

template <typename To, typename From>
To* Cast(const TObjectPtr<From>& Src)
{
	return Cast<To>(Src.Get());
}

template <typename To, typename From>
To* CastChecked(From* Src)
{
	To* Result = Cast<To>(Src);
	check(Result);
	return Result;
}

template <typename To, typename From>
To* ExactCast(From* Src)
{
	return Src && Src->GetClass() == To::StaticClass() ? static_cast<To*>(static_cast<UObject*>(Src)) : nullptr;
}
