// TAttribute: a value that is either set directly or read through a getter each time it is asked for.
#pragma once

#include "CoreTypes.h"
#include "Delegates/Delegate.h"
#include "Templates/UnrealTemplate.h"

template <typename ObjectType>
class TAttribute
{
public:
	using FGetter = TDelegate<ObjectType()>;

	/** An unset attribute; Get gives the type's default value. */
	TAttribute() : Value(), bIsSet(false) {}

	template <typename OtherType, typename = std::enable_if_t<std::is_constructible_v<ObjectType, const OtherType&>>>
	TAttribute(const OtherType& InInitialValue) : Value(InInitialValue), bIsSet(true)
	{
	}

	TAttribute(ObjectType&& InInitialValue) : Value(MoveTemp(InInitialValue)), bIsSet(true) {}

	[[nodiscard]] static TAttribute Create(const FGetter& InGetter)
	{
		TAttribute Attribute;
		Attribute.Getter = InGetter;
		Attribute.bIsSet = true;
		return Attribute;
	}

	[[nodiscard]] static TAttribute Create(TFunction<ObjectType()>&& InLambda)
	{
		return Create(FGetter::CreateLambda(MoveTemp(InLambda)));
	}

	template <typename LambdaType, typename... PayloadTypes>
	[[nodiscard]] static TAttribute CreateLambda(LambdaType&& InCallable, PayloadTypes&&... InputPayload)
	{
		return Create(FGetter::CreateLambda(Forward<LambdaType>(InCallable), Forward<PayloadTypes>(InputPayload)...));
	}

	/** Reads the value from a method of a shared object (a widget), which the binding does not keep alive. */
	template <typename UserClass, typename MethodType, typename... VarTypes>
	[[nodiscard]] static TAttribute CreateSP(UserClass* InUserObject, MethodType InFunc, VarTypes... Vars)
	{
		return Create(FGetter::CreateSP(InUserObject, InFunc, Vars...));
	}

	void Set(const ObjectType& InNewValue)
	{
		Getter.Unbind();
		Value = InNewValue;
		bIsSet = true;
	}

	void Bind(const FGetter& InGetter)
	{
		Getter = InGetter;
		bIsSet = true;
	}

	/** The value: the getter's answer when one is bound, else the stored value. */
	const ObjectType& Get() const
	{
		if (Getter.IsBound())
		{
			Value = Getter.Execute();
		}
		return Value;
	}

	const ObjectType& Get(const ObjectType& DefaultValue) const { return bIsSet ? Get() : DefaultValue; }

	bool IsSet() const { return bIsSet; }
	bool IsBound() const { return Getter.IsBound(); }

private:
	mutable ObjectType Value;
	bool bIsSet;
	FGetter Getter;
};
