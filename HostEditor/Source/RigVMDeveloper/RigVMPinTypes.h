// Pin types of the RigVM model: what a C++ type string and its type object stand for, values of a
// pin type in memory, and the text form of those values.
#pragma once

#include "CoreMinimal.h"
#include "Templates/UniquePtr.h"
#include "UObject/UnrealType.h"

namespace RigVMPinTypes
{
	/** The C++ type of a wild-card pin and of a wild-card array pin. */
	extern const TCHAR* WildCardCPPType;
	extern const TCHAR* WildCardArrayCPPType;

	bool IsArrayType(const FString& CPPType);
	/** "TArray<X>" -> "X"; other types unchanged. */
	FString BaseTypeFromArrayType(const FString& CPPType);
	FString ArrayTypeFromBaseType(const FString& CPPType);
	bool IsWildCardType(const FString& CPPType);
	/** True for the struct of an execution pin (an execute context or the execute pin placeholder). */
	bool IsExecuteType(const UObject* TypeObject);

	/** The pin type of a reflected member: its C++ type as the model writes it and its type object. */
	void GetPropertyPinType(const FProperty* Property, FString& OutCPPType, UObject*& OutTypeObject);
	/**
	 * A property that describes one (non-array) value of a pin type, for reading and writing values
	 * of that type; null for a type the model cannot hold a value of.
	 */
	TUniquePtr<FProperty> MakeValueProperty(const FString& CPPType, UObject* TypeObject);
	/** True for a C++ type and type object that make a valid pin type. */
	bool IsValidPinType(const FString& CPPType, const UObject* TypeObject);

	/** Reads Text as a value of Property into Data; false unless all of Text is one value. */
	bool ImportWhole(const FProperty* Property, const FString& Text, void* Data);
	/** Splits an array value "(A,B,(C=1))" into its element texts; false when it is not one. */
	bool SplitArrayText(const FString& Text, TArray<FString>& OutElements);

	/** The node title of a struct: its DisplayName metadata, else its display name. */
	FString GetStructNodeTitle(const UScriptStruct* Struct);
	/** Metadata of a struct or the nearest base struct that has it; empty when none has. */
	FString GetStructMetaDataHierarchical(const UScriptStruct* Struct, const TCHAR* Key);
	/** The properties of a struct, base structs' first, each in declaration order. */
	TArray<FProperty*> GetOrderedProperties(const UStruct* Struct);

	/** Storage for one value of a property, constructed and destroyed with the property. */
	class FScopedValue
	{
	public:
		explicit FScopedValue(const FProperty* InProperty);
		~FScopedValue();
		FScopedValue(const FScopedValue&) = delete;
		FScopedValue& operator=(const FScopedValue&) = delete;
		void* Get() const { return Data; }

	private:
		const FProperty* Property;
		void* Data;
	};
}
