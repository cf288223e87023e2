// FDelegateHandle: identifies one binding in a multicast delegate so that it can be removed again.
#pragma once

#include "CoreTypes.h"

class CORE_API FDelegateHandle
{
public:
	enum EGenerateNewHandleType
	{
		GenerateNewHandle
	};

	FDelegateHandle() = default;
	explicit FDelegateHandle(EGenerateNewHandleType) : ID(GenerateNewID()) {}

	bool IsValid() const { return ID != 0; }
	void Reset() { ID = 0; }

	bool operator==(const FDelegateHandle& Other) const { return ID == Other.ID; }
	bool operator!=(const FDelegateHandle& Other) const { return ID != Other.ID; }

private:
	static uint64 GenerateNewID();

	uint64 ID = 0;
};
