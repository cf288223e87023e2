// Single-cast and multicast delegates with the engine's binding kinds: raw pointers, shared pointers
// (weakly held), UObjects (weakly held), static functions and lambdas, with optional payloads.
#pragma once

#include <type_traits>
#include <utility>

#include "Containers/Array.h"
#include "CoreTypes.h"
#include "Delegates/IDelegateInstance.h"
#include "Misc/AssertionMacros.h"
#include "Templates/Function.h"
#include "Templates/SharedPointer.h"

// UObject bindings test their object's liveness with the object system's IsValid.
class UObject;
COREUOBJECT_API bool IsValid(const UObject* Test);

template <typename FuncType>
class TDelegate;

template <typename RetValType, typename... ParamTypes>
class TDelegate<RetValType(ParamTypes...)>
{
public:
	using FFuncType = RetValType(ParamTypes...);

	TDelegate() = default;

	template <typename UserClass, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateRaw(UserClass* InUserObject, RetValType (UserClass::*InFunc)(ParamTypes..., VarTypes...), std::decay_t<VarTypes>... Vars)
	{
		return Make(InUserObject, [InUserObject, InFunc, Vars...](ParamTypes... Params) -> RetValType { return (InUserObject->*InFunc)(Forward<ParamTypes>(Params)..., Vars...); }, nullptr);
	}

	template <typename UserClass, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateRaw(const UserClass* InUserObject, RetValType (UserClass::*InFunc)(ParamTypes..., VarTypes...) const, std::decay_t<VarTypes>... Vars)
	{
		return Make(InUserObject, [InUserObject, InFunc, Vars...](ParamTypes... Params) -> RetValType { return (InUserObject->*InFunc)(Forward<ParamTypes>(Params)..., Vars...); }, nullptr);
	}

	/** Binds a method of a shared object; the binding does not keep the object alive. */
	template <typename UserClass, typename MethodClass, typename MethodType, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateSP(const TSharedRef<UserClass>& InUserObject, MethodType MethodClass::*InFunc, VarTypes... Vars)
	{
		TWeakPtr<UserClass> Weak(InUserObject);
		UserClass* Raw = &InUserObject.Get();
		return Make(Raw,
			[Weak, InFunc, Vars...](ParamTypes... Params) -> RetValType
			{
				TSharedPtr<UserClass> Pinned = Weak.Pin();
				return (Pinned.Get()->*InFunc)(Forward<ParamTypes>(Params)..., Vars...);
			},
			[Weak]() { return Weak.IsValid(); });
	}

	template <typename UserClass, typename MethodClass, typename MethodType, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateSP(UserClass* InUserObject, MethodType MethodClass::*InFunc, VarTypes... Vars)
	{
		return CreateSP(StaticCastSharedRef<UserClass>(InUserObject->AsShared()), InFunc, Vars...);
	}

	/** Binds a method of a UObject; the binding is unbound once the object is destroyed. */
	template <typename UserClass, typename MethodClass, typename MethodType, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateUObject(UserClass* InUserObject, MethodType MethodClass::*InFunc, VarTypes... Vars)
	{
		return Make(InUserObject, [InUserObject, InFunc, Vars...](ParamTypes... Params) -> RetValType { return (InUserObject->*InFunc)(Forward<ParamTypes>(Params)..., Vars...); },
			[InUserObject]() { return IsValid(InUserObject); });
	}

	template <typename... VarTypes>
	[[nodiscard]] static TDelegate CreateStatic(RetValType (*InFunc)(ParamTypes..., VarTypes...), std::decay_t<VarTypes>... Vars)
	{
		return Make(nullptr, [InFunc, Vars...](ParamTypes... Params) -> RetValType { return InFunc(Forward<ParamTypes>(Params)..., Vars...); }, nullptr);
	}

	template <typename FunctorType, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateLambda(FunctorType&& InFunctor, VarTypes... Vars)
	{
		return Make(nullptr,
			[Functor = std::decay_t<FunctorType>(Forward<FunctorType>(InFunctor)), Vars...](ParamTypes... Params) mutable -> RetValType { return Functor(Forward<ParamTypes>(Params)..., Vars...); },
			nullptr);
	}

	/** A lambda that is only called while UserObject lives. */
	template <typename UserClass, typename FunctorType, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateWeakLambda(UserClass* InUserObject, FunctorType&& InFunctor, VarTypes... Vars)
	{
		TDelegate Result = CreateLambda(Forward<FunctorType>(InFunctor), Vars...);
		Result.UserObject = InUserObject;
		if constexpr (std::is_base_of_v<UObject, UserClass>)
		{
			Result.IsAlive = [InUserObject]() { return IsValid(InUserObject); };
		}
		return Result;
	}

	template <typename... ArgTypes>
	void BindRaw(ArgTypes&&... Args) { *this = CreateRaw(Forward<ArgTypes>(Args)...); }
	template <typename... ArgTypes>
	void BindSP(ArgTypes&&... Args) { *this = CreateSP(Forward<ArgTypes>(Args)...); }
	template <typename... ArgTypes>
	void BindUObject(ArgTypes&&... Args) { *this = CreateUObject(Forward<ArgTypes>(Args)...); }
	template <typename... ArgTypes>
	void BindStatic(ArgTypes&&... Args) { *this = CreateStatic(Forward<ArgTypes>(Args)...); }
	template <typename... ArgTypes>
	void BindLambda(ArgTypes&&... Args) { *this = CreateLambda(Forward<ArgTypes>(Args)...); }
	template <typename... ArgTypes>
	void BindWeakLambda(ArgTypes&&... Args) { *this = CreateWeakLambda(Forward<ArgTypes>(Args)...); }

	/** True when something is bound and, for weak bindings, its object still lives. */
	bool IsBound() const { return Callable.IsSet() && (!IsAlive || IsAlive()); }

	/** True when the binding was made for that object. */
	bool IsBoundToObject(const void* InUserObject) const { return Callable.IsSet() && InUserObject != nullptr && UserObject == InUserObject; }

	void Unbind()
	{
		Callable.Reset();
		IsAlive = nullptr;
		UserObject = nullptr;
		Handle.Reset();
	}

	RetValType Execute(ParamTypes... Params) const
	{
		checkf(IsBound(), TEXT("Executing an unbound delegate"));
		return Callable(Forward<ParamTypes>(Params)...);
	}

	/** Calls the binding when there is one; only for delegates without a result. */
	template <typename R = RetValType, typename = std::enable_if_t<std::is_void_v<R>>>
	bool ExecuteIfBound(ParamTypes... Params) const
	{
		if (!IsBound())
		{
			return false;
		}
		Callable(Forward<ParamTypes>(Params)...);
		return true;
	}

	FDelegateHandle GetHandle() const { return Handle; }

private:
	template <typename, typename>
	friend class TMulticastDelegateBase;

	template <typename CallableType>
	static TDelegate Make(const void* InUserObject, CallableType&& InCallable, TFunction<bool()> InIsAlive)
	{
		TDelegate Result;
		Result.Callable = TFunction<RetValType(ParamTypes...)>(Forward<CallableType>(InCallable));
		Result.IsAlive = MoveTemp(InIsAlive);
		Result.UserObject = InUserObject;
		Result.Handle = FDelegateHandle(FDelegateHandle::GenerateNewHandle);
		return Result;
	}

	mutable TFunction<RetValType(ParamTypes...)> Callable;
	TFunction<bool()> IsAlive;
	const void* UserObject = nullptr;
	FDelegateHandle Handle;
};

template <typename FuncType, typename Unused = void>
class TMulticastDelegateBase;

template <typename... ParamTypes, typename Unused>
class TMulticastDelegateBase<void(ParamTypes...), Unused>
{
public:
	using FDelegate = TDelegate<void(ParamTypes...)>;

	FDelegateHandle Add(const FDelegate& InNewDelegate)
	{
		if (!InNewDelegate.Callable.IsSet())
		{
			return FDelegateHandle();
		}
		Bindings.Add(InNewDelegate);
		return InNewDelegate.GetHandle();
	}

	template <typename... ArgTypes>
	FDelegateHandle AddRaw(ArgTypes&&... Args) { return Add(FDelegate::CreateRaw(Forward<ArgTypes>(Args)...)); }
	template <typename... ArgTypes>
	FDelegateHandle AddSP(ArgTypes&&... Args) { return Add(FDelegate::CreateSP(Forward<ArgTypes>(Args)...)); }
	template <typename... ArgTypes>
	FDelegateHandle AddUObject(ArgTypes&&... Args) { return Add(FDelegate::CreateUObject(Forward<ArgTypes>(Args)...)); }
	template <typename... ArgTypes>
	FDelegateHandle AddStatic(ArgTypes&&... Args) { return Add(FDelegate::CreateStatic(Forward<ArgTypes>(Args)...)); }
	template <typename... ArgTypes>
	FDelegateHandle AddLambda(ArgTypes&&... Args) { return Add(FDelegate::CreateLambda(Forward<ArgTypes>(Args)...)); }
	template <typename... ArgTypes>
	FDelegateHandle AddWeakLambda(ArgTypes&&... Args) { return Add(FDelegate::CreateWeakLambda(Forward<ArgTypes>(Args)...)); }

	/** Removes the binding with that handle; true when there was one. */
	bool Remove(FDelegateHandle Handle)
	{
		return Handle.IsValid() && Bindings.RemoveAll([&Handle](const FDelegate& Binding) { return Binding.GetHandle() == Handle; }) > 0;
	}

	/** Removes every binding made for that object; returns how many there were. */
	int32 RemoveAll(const void* InUserObject)
	{
		return Bindings.RemoveAll([InUserObject](const FDelegate& Binding) { return Binding.IsBoundToObject(InUserObject); });
	}

	bool IsBound() const
	{
		for (const FDelegate& Binding : Bindings)
		{
			if (Binding.IsBound())
			{
				return true;
			}
		}
		return false;
	}

	bool IsBoundToObject(const void* InUserObject) const
	{
		for (const FDelegate& Binding : Bindings)
		{
			if (Binding.IsBoundToObject(InUserObject))
			{
				return true;
			}
		}
		return false;
	}

	void Clear() { Bindings.Empty(); }

	/**
	 * Calls every live binding in the order they were added. Bindings added or removed by a callee take
	 * effect from the next broadcast; a binding removed during this one is not called.
	 */
	void Broadcast(ParamTypes... Params) const
	{
		const TArray<FDelegate> Snapshot = Bindings;
		for (const FDelegate& Binding : Snapshot)
		{
			const FDelegateHandle Handle = Binding.GetHandle();
			const bool bStillBound = Bindings.ContainsByPredicate([&Handle](const FDelegate& Current) { return Current.GetHandle() == Handle; });
			if (bStillBound && Binding.IsBound())
			{
				Binding.Callable(Params...);
			}
		}
	}

private:
	TArray<FDelegate> Bindings;
};

template <typename FuncType>
class TMulticastDelegate : public TMulticastDelegateBase<FuncType>
{
};

#define FUNC_DECLARE_DELEGATE(DelegateName, ReturnType, ...) typedef TDelegate<ReturnType(__VA_ARGS__)> DelegateName;
#define FUNC_DECLARE_MULTICAST_DELEGATE(MulticastDelegateName, ReturnType, ...) typedef TMulticastDelegate<ReturnType(__VA_ARGS__)> MulticastDelegateName;

#define DECLARE_DELEGATE(DelegateName) FUNC_DECLARE_DELEGATE(DelegateName, void)
#define DECLARE_DELEGATE_OneParam(DelegateName, Param1Type) FUNC_DECLARE_DELEGATE(DelegateName, void, Param1Type)
#define DECLARE_DELEGATE_TwoParams(DelegateName, Param1Type, Param2Type) FUNC_DECLARE_DELEGATE(DelegateName, void, Param1Type, Param2Type)
#define DECLARE_DELEGATE_ThreeParams(DelegateName, Param1Type, Param2Type, Param3Type) FUNC_DECLARE_DELEGATE(DelegateName, void, Param1Type, Param2Type, Param3Type)
#define DECLARE_DELEGATE_RetVal(ReturnType, DelegateName) FUNC_DECLARE_DELEGATE(DelegateName, ReturnType)
#define DECLARE_DELEGATE_RetVal_OneParam(ReturnType, DelegateName, Param1Type) FUNC_DECLARE_DELEGATE(DelegateName, ReturnType, Param1Type)
#define DECLARE_DELEGATE_RetVal_TwoParams(ReturnType, DelegateName, Param1Type, Param2Type) FUNC_DECLARE_DELEGATE(DelegateName, ReturnType, Param1Type, Param2Type)
#define DECLARE_MULTICAST_DELEGATE(DelegateName) FUNC_DECLARE_MULTICAST_DELEGATE(DelegateName, void)
#define DECLARE_MULTICAST_DELEGATE_OneParam(DelegateName, Param1Type) FUNC_DECLARE_MULTICAST_DELEGATE(DelegateName, void, Param1Type)
#define DECLARE_MULTICAST_DELEGATE_TwoParams(DelegateName, Param1Type, Param2Type) FUNC_DECLARE_MULTICAST_DELEGATE(DelegateName, void, Param1Type, Param2Type)

DECLARE_DELEGATE(FSimpleDelegate);
DECLARE_MULTICAST_DELEGATE(FSimpleMulticastDelegate);
