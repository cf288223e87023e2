#include "PyCore.h"

#include <memory>
#include <new>
#include <string>

#include "CoreMinimal.h"
#include "Modules/ModuleManager.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/SoftObjectPath.h"
#include "UObject/UnrealType.h"
#include "UObject/UObjectGlobals.h"

namespace py = pybind11;

DEFINE_LOG_CATEGORY_STATIC(LogPython, Log, All);

namespace HostEditorPython
{
	namespace
	{
		/** A reference from Python to an object of the object system (classes, structs and enums included). */
		struct FObjectRef
		{
			UObject* Object = nullptr;

			bool operator==(const FObjectRef& Other) const { return Object == Other.Object; }
		};

		/** A struct value that Python owns: its own storage, constructed and destroyed by the struct's operations. */
		class FStructValue
		{
		public:
			explicit FStructValue(UScriptStruct* InStruct)
				: Struct(InStruct)
			{
				Data = ::operator new((size_t)FMath::Max(Struct->GetStructureSize(), 1), std::align_val_t(Alignment()));
				Struct->InitializeStruct(Data);
			}

			FStructValue(UScriptStruct* InStruct, const void* Source)
				: FStructValue(InStruct)
			{
				Struct->CopyScriptStruct(Data, Source);
			}

			FStructValue(const FStructValue&) = delete;
			FStructValue& operator=(const FStructValue&) = delete;

			~FStructValue()
			{
				Struct->DestroyStruct(Data);
				::operator delete(Data, std::align_val_t(Alignment()));
			}

			UScriptStruct* GetStruct() const { return Struct; }
			void* GetData() const { return Data; }

		private:
			size_t Alignment() const
			{
				const UScriptStruct::ICppStructOps* Ops = Struct->GetCppStructOps();
				return (size_t)FMath::Max(Ops ? Ops->GetAlignment() : Struct->GetMinAlignment(), (int32)alignof(std::max_align_t));
			}

			UScriptStruct* Struct;
			void* Data = nullptr;
		};

		typedef std::shared_ptr<FStructValue> FStructValuePtr;

		/**
		 * The Python function that turns native values into the `unreal` module's wrapper types:
		 * wrap(kind, payload, type); wrap("type", None, type) gives the Python type of a reflected
		 * type itself. Set once by unreal.py; kept for the life of the process.
		 */
		PyObject* GWrapper = nullptr;

		py::object Wrap(const char* Kind, py::object Payload, py::object Type = py::none())
		{
			if (!GWrapper)
			{
				return Payload;
			}
			return py::reinterpret_borrow<py::object>(GWrapper)(Kind, Payload, Type);
		}

		std::string ToUtf8(const FString& Text)
		{
			return std::string(TCHAR_TO_UTF8(*Text));
		}

		FString FromUtf8(const std::string& Text)
		{
			return FString(UTF8_TO_TCHAR(Text.c_str()));
		}

		FString StringOf(py::handle Value, const FProperty* Property)
		{
			if (!py::isinstance<py::str>(Value))
			{
				throw py::type_error("Cannot nativize '" + std::string(py::str(Value.get_type().attr("__name__"))) + "' as '" + ToUtf8(Property->GetName()) + "' (" + ToUtf8(Property->GetCPPType()) + ")");
			}
			return FromUtf8(Value.cast<std::string>());
		}

		[[noreturn]] void CannotNativize(py::handle Value, const FProperty* Property)
		{
			throw py::type_error("Cannot nativize '" + std::string(py::str(Value.get_type().attr("__name__"))) + "' as '" + ToUtf8(Property->GetName()) + "' (" + ToUtf8(Property->GetCPPType()) + ")");
		}

		UObject* ObjectOf(py::handle Value)
		{
			if (Value.is_none())
			{
				return nullptr;
			}
			if (py::isinstance<FObjectRef>(Value))
			{
				return Value.cast<FObjectRef>().Object;
			}
			// A wrapper type has its instances' "_o" slot as a class attribute, so types are told apart first.
			if (!py::isinstance<py::type>(Value) && py::hasattr(Value, "_o"))
			{
				return Value.attr("_o").cast<FObjectRef>().Object;
			}
			// A wrapper type stands for its class, struct or enum.
			if (py::hasattr(Value, "_t"))
			{
				return Value.attr("_t").cast<FObjectRef>().Object;
			}
			throw py::type_error("expected an unreal.Object, got '" + std::string(py::str(Value.get_type().attr("__name__"))) + "'");
		}

		py::object ToPython(const FProperty* Property, const void* Value);
		void FromPython(const FProperty* Property, void* Value, py::handle Object);

		/**
		 * True for what scripts may give where a struct is expected in its place: a tuple or list (the
		 * struct constructor's positional arguments) or a dict (its keyword arguments). A str is not.
		 */
		bool IsStructInitializer(py::handle Object)
		{
			return py::isinstance<py::tuple>(Object) || py::isinstance<py::list>(Object) || py::isinstance<py::dict>(Object);
		}

		/**
		 * A struct of the property's type made by its Python type's constructor from a sequence or a
		 * mapping, as the engine's Python converts them: the sequence's items as positional arguments,
		 * the mapping's items as keyword arguments (for a struct with a native make function, the make
		 * function's parameters). Items that are sequences or mappings themselves convert the same way
		 * where they meet a struct. The constructor's TypeError for too many items or an unknown key
		 * passes on; None when `unreal` has not set its wrapper yet.
		 */
		py::object MakeStructFrom(const FStructProperty* Property, py::handle Object)
		{
			const py::object Type = Wrap("type", py::none(), py::cast(FObjectRef{Property->Struct}));
			if (Type.is_none())
			{
				return Type;
			}
			if (py::isinstance<py::dict>(Object))
			{
				return Type(**py::reinterpret_borrow<py::dict>(Object));
			}
			return Type(*py::reinterpret_borrow<py::object>(Object));
		}

		py::object WrapObject(UObject* Object)
		{
			return Object ? Wrap("object", py::cast(FObjectRef{Object})) : py::none();
		}

		py::object WrapEnum(UEnum* Enum, int64 Value)
		{
			return Wrap("enum", py::int_(Value), py::cast(FObjectRef{Enum}));
		}

		py::object ToPython(const FProperty* Property, const void* Value)
		{
			if (const FBoolProperty* Bool = dynamic_cast<const FBoolProperty*>(Property))
			{
				return py::bool_(Bool->GetPropertyValue(Value));
			}
			if (const FEnumProperty* Enum = dynamic_cast<const FEnumProperty*>(Property))
			{
				return WrapEnum(Enum->GetEnum(), Enum->GetUnderlyingProperty()->GetSignedIntPropertyValue(Value));
			}
			if (const FNumericProperty* Numeric = dynamic_cast<const FNumericProperty*>(Property))
			{
				if (UEnum* Enum = Numeric->GetIntPropertyEnum())
				{
					return WrapEnum(Enum, Numeric->GetSignedIntPropertyValue(Value));
				}
				if (Numeric->IsFloatingPoint())
				{
					return py::float_(Numeric->GetFloatingPointPropertyValue(Value));
				}
				return py::int_(Numeric->GetSignedIntPropertyValue(Value));
			}
			if (const FNameProperty* Name = dynamic_cast<const FNameProperty*>(Property))
			{
				return Wrap("name", py::str(ToUtf8(Name->GetPropertyValue(Value).ToString())));
			}
			if (const FStrProperty* String = dynamic_cast<const FStrProperty*>(Property))
			{
				return py::str(ToUtf8(String->GetPropertyValue(Value)));
			}
			if (const FTextProperty* Text = dynamic_cast<const FTextProperty*>(Property))
			{
				return Wrap("text", py::str(ToUtf8(Text->GetPropertyValue(Value).ToString())));
			}
			if (const FStructProperty* Struct = dynamic_cast<const FStructProperty*>(Property))
			{
				return Wrap("struct", py::cast(std::make_shared<FStructValue>(Struct->Struct, Value)), py::cast(FObjectRef{Struct->Struct}));
			}
			if (const FArrayProperty* Array = dynamic_cast<const FArrayProperty*>(Property))
			{
				FScriptArrayHelper Helper(Array, Value);
				py::list Items;
				for (int32 Index = 0; Index < Helper.Num(); ++Index)
				{
					Items.append(ToPython(Array->Inner, Helper.GetRawPtr(Index)));
				}
				return Wrap("array", Items);
			}
			if (const FObjectPropertyBase* Object = dynamic_cast<const FObjectPropertyBase*>(Property))
			{
				return WrapObject(Object->GetObjectPropertyValue(Value));
			}
			throw py::type_error("Properties of type " + ToUtf8(Property->GetCPPType()) + " cannot be read from Python");
		}

		void FromPython(const FProperty* Property, void* Value, py::handle Object)
		{
			if (const FBoolProperty* Bool = dynamic_cast<const FBoolProperty*>(Property))
			{
				if (!py::isinstance<py::bool_>(Object) && !py::isinstance<py::int_>(Object))
				{
					CannotNativize(Object, Property);
				}
				Bool->SetPropertyValue(Value, Object.cast<bool>());
				return;
			}
			const FNumericProperty* EnumStorage = nullptr;
			UEnum* Enum = nullptr;
			if (const FEnumProperty* EnumProperty = dynamic_cast<const FEnumProperty*>(Property))
			{
				EnumStorage = EnumProperty->GetUnderlyingProperty();
				Enum = EnumProperty->GetEnum();
			}
			else if (const FNumericProperty* Numeric = dynamic_cast<const FNumericProperty*>(Property); Numeric && Numeric->GetIntPropertyEnum())
			{
				EnumStorage = Numeric;
				Enum = Numeric->GetIntPropertyEnum();
			}
			if (EnumStorage)
			{
				int64 EnumValue = 0;
				if (py::hasattr(Object, "_e") && py::hasattr(Object, "value"))
				{
					if (ObjectOf(Object.attr("_e")) != Enum)
					{
						CannotNativize(Object, Property);
					}
					EnumValue = Object.attr("value").cast<int64>();
				}
				else if (py::isinstance<py::int_>(Object) && !py::isinstance<py::bool_>(Object))
				{
					EnumValue = Object.cast<int64>();
				}
				else
				{
					CannotNativize(Object, Property);
				}
				if (!Enum->IsValidEnumValue(EnumValue))
				{
					throw py::value_error("Value " + std::to_string(EnumValue) + " is not a member of " + ToUtf8(Enum->GetName()));
				}
				EnumStorage->SetIntPropertyValue(Value, EnumValue);
				return;
			}
			if (const FNumericProperty* Numeric = dynamic_cast<const FNumericProperty*>(Property))
			{
				const bool bIsInt = py::isinstance<py::int_>(Object) && !py::isinstance<py::bool_>(Object);
				if (Numeric->IsFloatingPoint() && (bIsInt || py::isinstance<py::float_>(Object)))
				{
					Numeric->SetFloatingPointPropertyValue(Value, Object.cast<double>());
					return;
				}
				if (Numeric->IsInteger() && bIsInt)
				{
					Numeric->SetIntPropertyValue(Value, Object.cast<int64>());
					return;
				}
				CannotNativize(Object, Property);
			}
			if (const FNameProperty* Name = dynamic_cast<const FNameProperty*>(Property))
			{
				Name->SetPropertyValue(Value, FName(*StringOf(Object, Property)));
				return;
			}
			if (const FStrProperty* String = dynamic_cast<const FStrProperty*>(Property))
			{
				String->SetPropertyValue(Value, StringOf(Object, Property));
				return;
			}
			if (const FTextProperty* Text = dynamic_cast<const FTextProperty*>(Property))
			{
				Text->SetPropertyValue(Value, FText::FromString(StringOf(Object, Property)));
				return;
			}
			if (const FStructProperty* Struct = dynamic_cast<const FStructProperty*>(Property))
			{
				const py::object Given = IsStructInitializer(Object) ? MakeStructFrom(Struct, Object) : py::reinterpret_borrow<py::object>(Object);
				if (py::isinstance<py::type>(Given) || !py::hasattr(Given, "_v"))
				{
					CannotNativize(Object, Property);
				}
				const FStructValuePtr Source = Given.attr("_v").cast<FStructValuePtr>();
				if (!Source->GetStruct()->IsChildOf(Struct->Struct))
				{
					CannotNativize(Object, Property);
				}
				Struct->Struct->CopyScriptStruct(Value, Source->GetData());
				return;
			}
			if (const FArrayProperty* Array = dynamic_cast<const FArrayProperty*>(Property))
			{
				if (py::isinstance<py::str>(Object) || !py::hasattr(Object, "__iter__"))
				{
					CannotNativize(Object, Property);
				}
				// Convert into a scratch array first, so that a bad element leaves the value as it was.
				std::unique_ptr<uint8[]> Scratch(new uint8[Array->Ops->Size]);
				Array->InitializeValue(Scratch.get());
				try
				{
					FScriptArrayHelper Helper(Array, Scratch.get());
					for (py::handle Item : Object)
					{
						const int32 Index = Helper.AddValue();
						FromPython(Array->Inner, Helper.GetRawPtr(Index), Item);
					}
					Array->CopySingleValue(Value, Scratch.get());
				}
				catch (...)
				{
					Array->DestroyValue(Scratch.get());
					throw;
				}
				Array->DestroyValue(Scratch.get());
				return;
			}
			if (const FSoftObjectProperty* Soft = dynamic_cast<const FSoftObjectProperty*>(Property))
			{
				if (py::isinstance<py::str>(Object))
				{
					const FString Path = StringOf(Object, Property);
					if (!Soft->ImportText_Direct(*Path, Value, nullptr, PPF_None))
					{
						throw py::value_error("'" + ToUtf8(Path) + "' is not an object path");
					}
					return;
				}
				UObject* Target = ObjectOf(Object);
				if (Target && !Target->IsA(Soft->PropertyClass))
				{
					CannotNativize(Object, Property);
				}
				Soft->SetObjectPropertyValue(Value, Target);
				return;
			}
			if (const FObjectPropertyBase* ObjectProperty = dynamic_cast<const FObjectPropertyBase*>(Property))
			{
				UObject* Target = ObjectOf(Object);
				if (Target && !Target->IsA(ObjectProperty->PropertyClass))
				{
					CannotNativize(Object, Property);
				}
				ObjectProperty->SetObjectPropertyValue(Value, Target);
				return;
			}
			throw py::type_error("Properties of type " + ToUtf8(Property->GetCPPType()) + " cannot be written from Python");
		}

		/**
		 * False for properties scripts do not see: those marked ScriptNoExport, and those neither
		 * editable nor visible to Blueprints (such as a rig unit's internal caches).
		 */
		bool IsScriptVisible(const FProperty* Property)
		{
			// Static arrays (the engine's unreal.FixedArray) are not offered: nothing here reads them.
			return Property->ArrayDim == 1 && !Property->HasMetaData(TEXT("ScriptNoExport")) && Property->HasAnyPropertyFlags(CPF_Edit | CPF_BlueprintVisible);
		}

		/** The property called Name (its Python name or its own) of Struct or one of its bases. */
		FProperty* FindProperty(const UStruct* Struct, const std::string& Name)
		{
			const FString Wanted = FromUtf8(Name);
			for (const UStruct* Current = Struct; Current; Current = Current->GetSuperStruct())
			{
				for (FProperty* Property : Current->GetOwnProperties())
				{
					if (IsScriptVisible(Property) && (Property->GetScriptName().Equals(Wanted, ESearchCase::CaseSensitive) || Property->GetName().Equals(Wanted, ESearchCase::IgnoreCase)))
					{
						return Property;
					}
				}
			}
			return nullptr;
		}

		/** The container and struct behind an object reference or a struct value. */
		std::pair<void*, const UStruct*> ContainerOf(py::handle Target)
		{
			if (py::isinstance<FObjectRef>(Target))
			{
				UObject* Object = Target.cast<FObjectRef>().Object;
				if (!Object)
				{
					throw py::value_error("the object is null");
				}
				return {Object, Object->GetClass()};
			}
			const FStructValuePtr Value = Target.cast<FStructValuePtr>();
			return {Value->GetData(), Value->GetStruct()};
		}

		FProperty* CheckedProperty(const UStruct* Struct, const std::string& Name)
		{
			FProperty* Property = FindProperty(Struct, Name);
			if (!Property)
			{
				throw py::attribute_error("'" + ToUtf8(Struct->GetName()) + "' has no property '" + Name + "'");
			}
			return Property;
		}

		py::object GetProperty(py::handle Target, const std::string& Name)
		{
			const auto [Container, Struct] = ContainerOf(Target);
			const FProperty* Property = CheckedProperty(Struct, Name);
			return ToPython(Property, Property->ContainerPtrToValuePtr<void>(Container));
		}

		void SetProperty(py::handle Target, const std::string& Name, py::handle Value)
		{
			const auto [Container, Struct] = ContainerOf(Target);
			const FProperty* Property = CheckedProperty(Struct, Name);
			if (py::isinstance<FObjectRef>(Target))
			{
				// Editing an object's property is an undoable edit that dirties its package.
				static_cast<UObject*>(Container)->Modify();
			}
			FromPython(Property, Property->ContainerPtrToValuePtr<void>(Container), Value);
		}

		/** Classes, structs and enums by their Python names. */
		UField* FindType(const std::string& ScriptName)
		{
			const FString Wanted = FromUtf8(ScriptName);
			for (UClass* Kind : {UClass::StaticClass(), UScriptStruct::StaticClass(), UEnum::StaticClass()})
			{
				TArray<UObject*> Types;
				GetObjectsOfClass(Kind, Types, false);
				for (UObject* Type : Types)
				{
					UField* Field = static_cast<UField*>(Type);
					if (Field->GetScriptName().Equals(Wanted, ESearchCase::CaseSensitive) && !Field->HasMetaData(TEXT("Hidden")))
					{
						return Field;
					}
				}
			}
			return nullptr;
		}

		const char* KindOf(const UObject* Type)
		{
			if (Type->IsA(UClass::StaticClass()))
			{
				return "class";
			}
			if (Type->IsA(UScriptStruct::StaticClass()))
			{
				return "struct";
			}
			if (Type->IsA(UEnum::StaticClass()))
			{
				return "enum";
			}
			return "object";
		}

		/** What unreal.py needs to build the Python type of a class, struct or enum. */
		py::dict TypeInfo(FObjectRef Ref)
		{
			UField* Type = dynamic_cast<UField*>(Ref.Object);
			if (!Type)
			{
				throw py::type_error("not a type");
			}
			py::dict Info;
			Info["kind"] = KindOf(Type);
			Info["name"] = ToUtf8(Type->GetName());
			Info["script_name"] = ToUtf8(Type->GetScriptName());
			Info["tooltip"] = ToUtf8(Type->GetMetaData(TEXT("ToolTip")));
			if (UEnum* Enum = dynamic_cast<UEnum*>(Type))
			{
				py::list Entries;
				const TArray<FString>& ScriptNames = Enum->GetMemberScriptNames();
				// The last entry is the generated _MAX, which Python does not show.
				for (int32 Index = 0; Index + 1 < Enum->NumEnums(); ++Index)
				{
					// Hidden members are C++-only: scripts do not see them as members, yet a value read
					// from C++ may still be one of them.
					const bool bHidden = Enum->HasMetaData(TEXT("Hidden"), Index);
					const FString Script = ScriptNames.IsValidIndex(Index) ? ScriptNames[Index] : Enum->GetNameStringByIndex(Index);
					Entries.append(py::make_tuple(ToUtf8(Script), Enum->GetValueByIndex(Index), ToUtf8(Enum->GetNameStringByIndex(Index)), bHidden));
				}
				Info["entries"] = Entries;
				return Info;
			}
			UStruct* Struct = static_cast<UStruct*>(Type);
			Info["super"] = Struct->GetSuperStruct() ? py::cast(FObjectRef{Struct->GetSuperStruct()}) : py::none();
			py::list Properties;
			for (const FProperty* Property : Struct->GetOwnProperties())
			{
				if (!IsScriptVisible(Property))
				{
					continue;
				}
				Properties.append(py::make_tuple(ToUtf8(Property->GetScriptName()), ToUtf8(Property->GetName()), ToUtf8(Property->GetMetaData(TEXT("ToolTip")))));
			}
			Info["properties"] = Properties;
			py::list Functions;
			if (UClass* Class = dynamic_cast<UClass*>(Struct))
			{
				for (const UFunction* Function : Class->GetOwnFunctions())
				{
					Functions.append(py::make_tuple(ToUtf8(Function->GetScriptName()), py::cast(FObjectRef{const_cast<UFunction*>(Function)}), Function->HasAnyFunctionFlags(FUNC_Static)));
				}
			}
			Info["functions"] = Functions;
			return Info;
		}

		bool IsReturn(const FProperty* Property)
		{
			return Property->HasAnyPropertyFlags(CPF_ReturnParm);
		}

		/** A parameter the caller does not pass: a non-const reference not marked as passed in. */
		bool IsOutOnly(const FProperty* Property)
		{
			return Property->HasAnyPropertyFlags(CPF_OutParm) && !Property->HasAnyPropertyFlags(CPF_ReferenceParm | CPF_ConstParm | CPF_ReturnParm);
		}

		/** A parameter block of a function, destroyed with this scope. */
		class FParms
		{
		public:
			explicit FParms(const UFunction* InFunction)
				: Function(InFunction)
				, Data(new uint8[(size_t)FMath::Max(InFunction->GetParmsSize(), 1)])
			{
				Function->InitializeParms(Data.get());
			}
			~FParms() { Function->DestroyParms(Data.get()); }
			void* Get() const { return Data.get(); }

		private:
			const UFunction* Function;
			std::unique_ptr<uint8[]> Data;
		};

		/**
		 * Calls a reflected function as the editor's Python does: the inputs from the positional and
		 * keyword arguments (by Python name), defaults for the missing ones; the result is the return
		 * value followed by the out-parameters, one value alone, several as a tuple. A function that
		 * returns a bool and has out-parameters gives its out-parameters, or None when it returns false.
		 */
		py::object CallFunction(FObjectRef FunctionRef, py::handle Self, py::tuple Args, py::dict Kwargs, bool bDefaultMissing = false)
		{
			const UFunction* Function = dynamic_cast<UFunction*>(FunctionRef.Object);
			if (!Function)
			{
				throw py::type_error("not a function");
			}
			UObject* Context = nullptr;
			if (!Function->HasAnyFunctionFlags(FUNC_Static))
			{
				Context = ObjectOf(Self);
				if (!Context || !Context->IsA(Function->GetOwnerClass()))
				{
					throw py::type_error("'" + ToUtf8(Function->GetScriptName()) + "' must be called on an instance of " + ToUtf8(Function->GetOwnerClass()->GetName()));
				}
			}
			const std::string FunctionName = ToUtf8(Function->GetScriptName());
			FParms Parms(Function);
			size_t Positional = 0;
			size_t UsedKeywords = 0;
			TArray<const FProperty*> Outputs;
			const FProperty* Return = nullptr;
			for (const FProperty* Param : Function->GetOwnProperties())
			{
				if (IsReturn(Param))
				{
					Return = Param;
					continue;
				}
				if (Param->HasAnyPropertyFlags(CPF_OutParm) && !Param->HasAnyPropertyFlags(CPF_ConstParm))
				{
					Outputs.Add(Param);
				}
				if (IsOutOnly(Param))
				{
					continue;
				}
				void* Value = Param->ContainerPtrToValuePtr<void>(Parms.Get());
				const std::string ScriptName = ToUtf8(Param->GetScriptName());
				if (Positional < Args.size())
				{
					FromPython(Param, Value, Args[Positional++]);
				}
				else if (Kwargs.contains(ScriptName))
				{
					FromPython(Param, Value, Kwargs[py::str(ScriptName)]);
					++UsedKeywords;
				}
				else
				{
					const FString Default = Function->GetMetaData(*(TEXT("CPP_Default_") + Param->GetName()));
					if (!Function->HasMetaData(*(TEXT("CPP_Default_") + Param->GetName())))
					{
						if (bDefaultMissing)
						{
							// A struct's make function: a missing argument keeps its default-made value.
							continue;
						}
						throw py::type_error(FunctionName + "() required argument '" + ScriptName + "' missing");
					}
					if (!Default.IsEmpty() && !Param->ImportText_Direct(*Default, Value, nullptr, PPF_None))
					{
						throw py::value_error(FunctionName + "(): the default of '" + ScriptName + "' cannot be read");
					}
				}
			}
			if (Positional < Args.size() || UsedKeywords < Kwargs.size())
			{
				throw py::type_error(FunctionName + "() got too many or unknown arguments");
			}
			Function->Invoke(Context, Parms.Get());

			py::list Results;
			const bool bBoolGate = Return && dynamic_cast<const FBoolProperty*>(Return) && Outputs.Num() > 0;
			if (bBoolGate && !static_cast<const FBoolProperty*>(Return)->GetPropertyValue(Return->ContainerPtrToValuePtr<void>(Parms.Get())))
			{
				return py::none();
			}
			if (Return && !bBoolGate)
			{
				Results.append(ToPython(Return, Return->ContainerPtrToValuePtr<void>(Parms.Get())));
			}
			for (const FProperty* Output : Outputs)
			{
				Results.append(ToPython(Output, Output->ContainerPtrToValuePtr<void>(Parms.Get())));
			}
			if (Results.empty())
			{
				return py::none();
			}
			if (Results.size() == 1)
			{
				return Results[0];
			}
			return py::tuple(Results);
		}

		/**
		 * The static functions of every class that scripts show as methods or operators of Struct:
		 * those with ScriptMethod or ScriptOperator metadata whose first parameter is Struct. Each as
		 * (function, the methods' Python names ("a;b", an empty entry meaning the function's own) or None,
		 * ScriptOperator text or None, the function's Python name).
		 */
		py::list ScriptExtensions(FObjectRef TypeRef)
		{
			const UScriptStruct* Struct = dynamic_cast<UScriptStruct*>(TypeRef.Object);
			py::list Extensions;
			if (!Struct)
			{
				return Extensions;
			}
			TArray<UObject*> Classes;
			GetObjectsOfClass(UClass::StaticClass(), Classes, false);
			for (UObject* Object : Classes)
			{
				for (UFunction* Function : static_cast<UClass*>(Object)->GetOwnFunctions())
				{
					const bool bMethod = Function->HasMetaData(TEXT("ScriptMethod"));
					const bool bOperator = Function->HasMetaData(TEXT("ScriptOperator"));
					if (!Function->HasAnyFunctionFlags(FUNC_Static) || (!bMethod && !bOperator))
					{
						continue;
					}
					const TArray<FProperty*>& Params = Function->GetOwnProperties();
					const FStructProperty* First = Params.Num() > 0 && !IsReturn(Params[0]) ? dynamic_cast<const FStructProperty*>(Params[0]) : nullptr;
					if (!First || First->Struct != Struct)
					{
						continue;
					}
					Extensions.append(py::make_tuple(FObjectRef{Function},
						bMethod ? py::object(py::str(ToUtf8(Function->GetMetaData(TEXT("ScriptMethodNames"))))) : py::object(py::none()),
						bOperator ? py::object(py::str(ToUtf8(Function->GetMetaData(TEXT("ScriptOperator"))))) : py::object(py::none()),
						ToUtf8(Function->GetScriptName())));
				}
			}
			return Extensions;
		}

		/** The function a struct names in its HasNativeMake metadata ("/Script/Module.Class.Function"), or None. */
		py::object NativeMake(FObjectRef TypeRef)
		{
			const UScriptStruct* Struct = dynamic_cast<UScriptStruct*>(TypeRef.Object);
			if (!Struct || !Struct->HasMetaData(TEXT("HasNativeMake")))
			{
				return py::none();
			}
			const FString& Path = Struct->GetMetaData(TEXT("HasNativeMake"));
			FString ClassPath;
			FString FunctionName;
			if (!Path.Split(TEXT("."), &ClassPath, &FunctionName, ESearchCase::CaseSensitive, ESearchDir::FromEnd))
			{
				return py::none();
			}
			UClass* Class = dynamic_cast<UClass*>(StaticFindObject(UClass::StaticClass(), nullptr, *ClassPath));
			UFunction* Function = Class ? Class->FindFunctionByName(FName(*FunctionName)) : nullptr;
			return Function ? py::cast(FObjectRef{Function}) : py::none();
		}

		// Every crossing from Python into a reflected function or property, for the benchmarks that
		// measure how many engine calls a script makes per element it creates.
		struct FEngineCallCounts
		{
			uint64 Functions = 0;
			uint64 Properties = 0;
		};
		FEngineCallCounts GEngineCallCounts;

		UObject* CheckedObject(FObjectRef Ref)
		{
			if (!Ref.Object)
			{
				throw py::value_error("the object is null");
			}
			return Ref.Object;
		}
	}

	void DefineCore(py::module_& Module)
	{
		Module.doc() = "The native half of the stand-in editor's unreal module.";

		py::class_<FObjectRef>(Module, "ObjectRef")
			.def("__eq__", [](const FObjectRef& A, py::handle B) { return py::isinstance<FObjectRef>(B) && A == B.cast<FObjectRef>(); })
			.def("__hash__", [](const FObjectRef& Ref) { return std::hash<const void*>()(Ref.Object); })
			.def_property_readonly("address", [](const FObjectRef& Ref) { return reinterpret_cast<uintptr_t>(Ref.Object); });

		py::class_<FStructValue, FStructValuePtr>(Module, "StructValue");

		Module.def("set_wrapper", [](py::function Wrapper) {
			Py_XDECREF(GWrapper);
			GWrapper = Wrapper.inc_ref().ptr();
		});

		Module.def("find_type", [](const std::string& ScriptName) -> py::object {
			UField* Type = FindType(ScriptName);
			return Type ? py::cast(FObjectRef{Type}) : py::none();
		});
		// Every type `unreal` can offer, as (script name, package name) pairs: what a check of the
		// module's names against the engine's walks.
		Module.def("type_names", []() {
			py::list Names;
			for (UClass* Kind : {UClass::StaticClass(), UScriptStruct::StaticClass(), UEnum::StaticClass()})
			{
				TArray<UObject*> Types;
				GetObjectsOfClass(Kind, Types, false);
				for (UObject* Type : Types)
				{
					const UField* Field = static_cast<UField*>(Type);
					if (!Field->HasMetaData(TEXT("Hidden")))
					{
						Names.append(py::make_tuple(ToUtf8(Field->GetScriptName()), ToUtf8(Field->GetOutermost()->GetName())));
					}
				}
			}
			return Names;
		});
		Module.def("type_info", &TypeInfo);
		Module.def("type_of", [](py::handle Value) -> FObjectRef {
			if (py::isinstance<FObjectRef>(Value))
			{
				return FObjectRef{CheckedObject(Value.cast<FObjectRef>())->GetClass()};
			}
			return FObjectRef{Value.cast<FStructValuePtr>()->GetStruct()};
		});
		Module.def("is_child_of", [](FObjectRef Type, FObjectRef Base) {
			const UStruct* Struct = dynamic_cast<UStruct*>(Type.Object);
			const UStruct* BaseStruct = dynamic_cast<UStruct*>(Base.Object);
			return Struct && BaseStruct && Struct->IsChildOf(BaseStruct);
		});

		// The reflection metadata of a type, or of one of its properties by C++ name (inherited ones
		// included), with the property's C++ type under "CppType"; tests read unit pins through it.
		Module.def("metadata", [](FObjectRef Type, const std::string& PropertyName) {
			const UField* Field = dynamic_cast<UField*>(Type.Object);
			if (!Field)
			{
				throw py::type_error("not a type");
			}
			py::dict Result;
			const TMap<FName, FString>* MetaData = &Field->GetMetaDataMap();
			if (!PropertyName.empty())
			{
				const UStruct* Struct = dynamic_cast<const UStruct*>(Field);
				const FProperty* Property = Struct ? Struct->FindPropertyByName(FName(*FromUtf8(PropertyName))) : nullptr;
				if (!Property)
				{
					throw py::attribute_error("'" + ToUtf8(Field->GetName()) + "' has no property '" + PropertyName + "'");
				}
				MetaData = &Property->GetMetaDataMap();
				Result["CppType"] = ToUtf8(Property->GetCPPType());
			}
			for (const auto& Pair : *MetaData)
			{
				Result[py::str(ToUtf8(Pair.Key.ToString()))] = ToUtf8(Pair.Value);
			}
			return Result;
		});
		Module.def("get_property", [](py::handle Target, const std::string& Name) {
			++GEngineCallCounts.Properties;
			return GetProperty(Target, Name);
		});
		Module.def("set_property", [](py::handle Target, const std::string& Name, py::handle Value) {
			++GEngineCallCounts.Properties;
			SetProperty(Target, Name, Value);
		});
		Module.def("call_function", [](FObjectRef FunctionRef, py::handle Self, py::tuple Args, py::dict Kwargs) {
			++GEngineCallCounts.Functions;
			return CallFunction(FunctionRef, Self, Args, Kwargs);
		});
		Module.def("call_make_function", [](FObjectRef FunctionRef, py::tuple Args, py::dict Kwargs) {
			++GEngineCallCounts.Functions;
			return CallFunction(FunctionRef, py::none(), Args, Kwargs, true);
		});
		Module.def("engine_call_counts", []() {
			py::dict Counts;
			Counts["functions"] = GEngineCallCounts.Functions;
			Counts["properties"] = GEngineCallCounts.Properties;
			return Counts;
		});
		Module.def("script_extensions", &ScriptExtensions);
		Module.def("native_make", &NativeMake);
		Module.def("struct_hash", [](const FStructValuePtr& Value) -> py::object {
			const UScriptStruct::ICppStructOps* Ops = Value->GetStruct()->GetCppStructOps();
			if (!Ops || !Ops->HasGetTypeHash())
			{
				return py::none();
			}
			return py::int_(Ops->GetStructTypeHash(Value->GetData()));
		});

		Module.def("new_struct", [](FObjectRef Type) {
			UScriptStruct* Struct = dynamic_cast<UScriptStruct*>(Type.Object);
			if (!Struct)
			{
				throw py::type_error("not a struct type");
			}
			return std::make_shared<FStructValue>(Struct);
		});
		Module.def("copy_struct", [](const FStructValuePtr& Value) { return std::make_shared<FStructValue>(Value->GetStruct(), Value->GetData()); });
		Module.def("structs_equal", [](const FStructValuePtr& A, const FStructValuePtr& B) {
			return A->GetStruct() == B->GetStruct() && A->GetStruct()->CompareScriptStruct(A->GetData(), B->GetData(), 0);
		});
		Module.def("export_struct", [](const FStructValuePtr& Value) {
			const FStructProperty Property(nullptr, NAME_None, 0, CPF_None, Value->GetStruct());
			FString Text;
			Property.ExportTextItem_Direct(Text, Value->GetData(), nullptr, nullptr, PPF_None);
			return ToUtf8(Text);
		});
		Module.def("import_struct", [](const FStructValuePtr& Value, const std::string& Text) {
			const FStructProperty Property(nullptr, NAME_None, 0, CPF_None, Value->GetStruct());
			const FStructValuePtr Scratch = std::make_shared<FStructValue>(Value->GetStruct(), Value->GetData());
			const FString Buffer = FromUtf8(Text);
			if (!Property.ImportText_Direct(*Buffer, Scratch->GetData(), nullptr, PPF_None))
			{
				return false;
			}
			Value->GetStruct()->CopyScriptStruct(Value->GetData(), Scratch->GetData());
			return true;
		});

		Module.def("object_name", [](FObjectRef Ref) { return ToUtf8(CheckedObject(Ref)->GetName()); });
		Module.def("object_path_name", [](FObjectRef Ref) { return ToUtf8(CheckedObject(Ref)->GetPathName()); });
		Module.def("object_outer", [](FObjectRef Ref) { return WrapObject(CheckedObject(Ref)->GetOuter()); });
		Module.def("object_modify", [](FObjectRef Ref, bool bAlwaysMarkDirty) { return CheckedObject(Ref)->Modify(bAlwaysMarkDirty); });
		Module.def("object_is_a", [](FObjectRef Ref, FObjectRef Class) {
			UClass* TheClass = dynamic_cast<UClass*>(Class.Object);
			return TheClass && CheckedObject(Ref)->IsA(TheClass);
		});
		Module.def("wrap", [](FObjectRef Ref) { return WrapObject(Ref.Object); });
		Module.def("new_object", [](FObjectRef ClassRef, py::handle Outer, const std::string& Name) {
			UClass* Class = dynamic_cast<UClass*>(ClassRef.Object);
			if (!Class || Class->HasAnyClassFlags(CLASS_Abstract))
			{
				throw py::type_error("cannot create objects of an abstract or unknown class");
			}
			UObject* OuterObject = Outer.is_none() ? GetTransientPackage() : ObjectOf(Outer);
			return WrapObject(NewObject<UObject>(OuterObject, Class, Name.empty() ? FName(NAME_None) : FName(*FromUtf8(Name))));
		});
		Module.def("find_object", [](const std::string& Path) { return WrapObject(StaticFindObject(nullptr, nullptr, *FromUtf8(Path))); });
		Module.def("load_object", [](const std::string& Path) { return WrapObject(FSoftObjectPath(FromUtf8(Path)).TryLoad()); });
		Module.def("transient_package", []() { return WrapObject(GetTransientPackage()); });

		Module.def("log", [](int Verbosity, const std::string& Text) {
			const FString Message = FromUtf8(Text);
			switch (Verbosity)
			{
			case 1:
				UE_LOG(LogPython, Warning, TEXT("%s"), *Message);
				break;
			case 2:
				UE_LOG(LogPython, Error, TEXT("%s"), *Message);
				break;
			default:
				UE_LOG(LogPython, Log, TEXT("%s"), *Message);
				break;
			}
		});
		Module.def("load_module", [](const std::string& Name) { return FModuleManager::Get().LoadModule(FName(*FromUtf8(Name))) != nullptr; });
		Module.def("add_binaries_directory", [](const std::string& Directory) { FModuleManager::Get().AddBinariesDirectory(*FromUtf8(Directory), false); });
	}
}
