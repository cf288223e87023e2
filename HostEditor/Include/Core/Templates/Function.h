// TFunction, TUniqueFunction and TFunctionRef: callable wrappers with the engine's names.
#pragma once

#include <functional>

#include "CoreTypes.h"

template <typename FuncType>
class TFunction;

template <typename ReturnType, typename... ParamTypes>
class TFunction<ReturnType(ParamTypes...)> : public std::function<ReturnType(ParamTypes...)>
{
public:
	using std::function<ReturnType(ParamTypes...)>::function;
	TFunction() = default;
	/** Returns true when a callable is bound. */
	bool IsSet() const { return static_cast<bool>(*this); }
	void Reset() { *this = nullptr; }
};

template <typename FuncType>
using TUniqueFunction = TFunction<FuncType>;

template <typename FuncType>
using TFunctionRef = TFunction<FuncType>;
