// Writing and reading the text form of packages.

#include "PackageText.h"

#include <cstddef>
#include <new>

#include "Misc/FeedbackContext.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogLinker, Log, All);

namespace PackageText
{
	namespace
	{
		const TCHAR* const BeginObjectTag = TEXT("Begin Object");
		const TCHAR* const EndObjectTag = TEXT("End Object");
		const TCHAR* const CustomPropertiesTag = TEXT("CustomProperties");
		const int32 IndentStep = 3;
		/** The object flags a saved object keeps when it is loaded again. */
		const EObjectFlags PersistentFlags = EObjectFlags(RF_Public | RF_Standalone | RF_Transactional);

		/** Collects ExportCustomProperties output; every Serialize call is one or more whole lines. */
		class FLineCollector : public FOutputDevice
		{
		public:
			virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
			{
				FString Chunk(V);
				if (Chunk.EndsWith(TEXT("\n")))
				{
					Chunk.LeftChopInline(1);
				}
				TArray<FString> Parts;
				Chunk.ParseIntoArray(Parts, TEXT("\n"), false);
				if (Parts.IsEmpty())
				{
					Parts.Add(FString());
				}
				for (FString& Part : Parts)
				{
					if (Part.EndsWith(TEXT("\r")))
					{
						Part.LeftChopInline(1);
					}
					Lines.Add(Part);
				}
			}

			TArray<FString> Lines;
		};

		FString Spaces(int32 Count)
		{
			FString Result;
			for (int32 Index = 0; Index < Count; ++Index)
			{
				Result.AppendChar(' ');
			}
			return Result;
		}

		bool IsSavedProperty(const FProperty* Property)
		{
			return !Property->HasAnyPropertyFlags(EPropertyFlags(CPF_Transient | CPF_Parm));
		}

		bool HasLineBreak(const FString& Text)
		{
			int32 Index = INDEX_NONE;
			return Text.FindChar('\n', Index) || Text.FindChar('\r', Index);
		}

		bool ExportObject(UObject* Object, const TMap<const UObject*, TArray<UObject*>>& Children, int32 Indent, FString& Out, FString& OutError)
		{
			const FString Pad = Spaces(Indent);
			Out += FString::Printf(TEXT("%s%s Class=%s Name=%s ObjectFlags=0x%08X\n"), *Pad, BeginObjectTag, *Object->GetClass()->GetPathName(),
				*PropertyTextUtils::QuoteString(Object->GetName()), (uint32)(Object->GetFlags() & PersistentFlags));
			if (const TArray<UObject*>* Inner = Children.Find(Object))
			{
				for (UObject* Child : *Inner)
				{
					if (!ExportObject(Child, Children, Indent + IndentStep, Out, OutError))
					{
						return false;
					}
				}
			}
			const FString InnerPad = Spaces(Indent + IndentStep);
			for (TFieldIterator<FProperty> It(Object->GetClass()); It; ++It)
			{
				if (!IsSavedProperty(*It))
				{
					continue;
				}
				// A static array writes one line per element, as Name(Index)=Value.
				for (int32 ArrayIndex = 0; ArrayIndex < It->ArrayDim; ++ArrayIndex)
				{
					FString Value;
					It->ExportText_InContainer(ArrayIndex, Value, Object, nullptr, Object, PPF_Delimited);
					if (HasLineBreak(Value))
					{
						OutError = FString::Printf(TEXT("the value of %s.%s holds a line break and cannot be written"), *Object->GetPathName(), *It->GetName());
						return false;
					}
					const FString Key = It->ArrayDim > 1 ? FString::Printf(TEXT("%s(%d)"), *It->GetName(), ArrayIndex) : It->GetName();
					Out += FString::Printf(TEXT("%s%s=%s\n"), *InnerPad, *Key, *Value);
				}
			}
			FLineCollector Custom;
			Object->ExportCustomProperties(Custom, (uint32)(Indent + IndentStep));
			for (const FString& Line : Custom.Lines)
			{
				Out += FString::Printf(TEXT("%s%s %s\n"), *InnerPad, CustomPropertiesTag, *Line);
			}
			Out += Pad + EndObjectTag + TEXT("\n");
			return true;
		}

		/** One object block as read from the text. */
		struct FObjectRecord
		{
			FString ClassPath;
			FString Name;
			uint32 Flags = 0;
			int32 Line = 0;
			int32 Parent = INDEX_NONE;
			TArray<int32> Children;
			TArray<TPair<FString, FString>> Properties;
			TArray<int32> PropertyLines;
			TArray<FString> CustomLines;
			UClass* Class = nullptr;
			UObject* Object = nullptr;
			bool bCreated = false;
		};

		bool IsIdentifier(const FString& Text)
		{
			if (Text.IsEmpty())
			{
				return false;
			}
			for (const TCHAR Char : Text)
			{
				if (!FChar::IsAlnum(Char) && Char != '_')
				{
					return false;
				}
			}
			return true;
		}

		/** "Name" or "Name(Index)" (an element of a static array) to the name and the index. */
		bool SplitPropertyKey(const FString& Key, FString& OutName, int32& OutIndex)
		{
			OutIndex = 0;
			int32 Open = INDEX_NONE;
			if (!Key.EndsWith(TEXT(")")) || !Key.FindChar('(', Open))
			{
				OutName = Key;
				return IsIdentifier(Key);
			}
			OutName = Key.Left(Open);
			const FString Digits = Key.Mid(Open + 1, Key.Len() - Open - 2);
			if (!IsIdentifier(OutName) || Digits.IsEmpty() || Digits.Len() > 6)
			{
				return false;
			}
			for (const TCHAR Char : Digits)
			{
				if (Char < '0' || Char > '9')
				{
					return false;
				}
			}
			OutIndex = FCString::Atoi(*Digits);
			return true;
		}

		/** Reads "Key=Value Key=Value" attributes of a Begin Object line. */
		bool ParseAttributes(const TCHAR* Cursor, FObjectRecord& Record, FString& OutError)
		{
			bool bHasClass = false;
			bool bHasName = false;
			while (true)
			{
				Cursor = PropertyTextUtils::SkipWhitespace(Cursor);
				if (!Cursor || !*Cursor)
				{
					break;
				}
				FString Key;
				while (*Cursor && *Cursor != '=' && !FChar::IsWhitespace(*Cursor))
				{
					Key.AppendChar(*Cursor++);
				}
				if (*Cursor != '=')
				{
					OutError = FString::Printf(TEXT("expected Key=Value after '%s'"), *Key);
					return false;
				}
				++Cursor;
				FString Value;
				const TCHAR* End = PropertyTextUtils::ReadToken(Cursor, Value);
				if (!End)
				{
					OutError = FString::Printf(TEXT("'%s' has no value"), *Key);
					return false;
				}
				Cursor = End;
				if (Key == TEXT("Class"))
				{
					Record.ClassPath = Value;
					bHasClass = true;
				}
				else if (Key == TEXT("Name"))
				{
					Record.Name = Value;
					bHasName = true;
				}
				else if (Key == TEXT("ObjectFlags"))
				{
					TCHAR* NumberEnd = nullptr;
					Record.Flags = (uint32)FCString::Strtoi64(*Value, &NumberEnd, 16);
					if (NumberEnd == *Value || *NumberEnd != 0)
					{
						OutError = FString::Printf(TEXT("'%s' is not a flags value"), *Value);
						return false;
					}
				}
			}
			if (!bHasClass || !bHasName || Record.Name.IsEmpty())
			{
				OutError = TEXT("an object needs a Class and a Name");
				return false;
			}
			return true;
		}

		bool ParseRecords(const FString& Text, TArray<FObjectRecord>& OutRecords, TArray<int32>& OutRoots, FString& OutError)
		{
			TArray<FString> Lines;
			Text.ParseIntoArray(Lines, TEXT("\n"), false);
			TArray<int32> Open;
			for (int32 LineIndex = 0; LineIndex < Lines.Num(); ++LineIndex)
			{
				FString Line = Lines[LineIndex];
				if (Line.EndsWith(TEXT("\r")))
				{
					Line.LeftChopInline(1);
				}
				const FString Trimmed = Line.TrimStart();
				const int32 LineNumber = LineIndex + 1;
				auto Fail = [&](const FString& Reason) {
					OutError = FString::Printf(TEXT("line %d: %s"), LineNumber, *Reason);
					return false;
				};
				if (Trimmed.IsEmpty())
				{
					continue;
				}
				if (Trimmed.StartsWith(BeginObjectTag, ESearchCase::CaseSensitive))
				{
					FObjectRecord Record;
					Record.Line = LineNumber;
					FString Error;
					if (!ParseAttributes(*Trimmed + FCString::Strlen(BeginObjectTag), Record, Error))
					{
						return Fail(Error);
					}
					const int32 Index = OutRecords.Add(Record);
					if (Open.IsEmpty())
					{
						OutRoots.Add(Index);
					}
					else
					{
						OutRecords[Index].Parent = Open.Last();
						OutRecords[Open.Last()].Children.Add(Index);
					}
					Open.Add(Index);
					continue;
				}
				if (Trimmed.TrimEnd().Equals(EndObjectTag, ESearchCase::CaseSensitive))
				{
					if (Open.IsEmpty())
					{
						return Fail(TEXT("'End Object' without a 'Begin Object'"));
					}
					Open.Pop();
					continue;
				}
				if (Open.IsEmpty())
				{
					return Fail(TEXT("text outside an object block"));
				}
				FObjectRecord& Current = OutRecords[Open.Last()];
				if (Trimmed.StartsWith(CustomPropertiesTag, ESearchCase::CaseSensitive))
				{
					const FString Rest = Trimmed.Mid(FCString::Strlen(CustomPropertiesTag));
					if (Rest.IsEmpty() || Rest[0] == ' ')
					{
						Current.CustomLines.Add(Rest.IsEmpty() ? FString() : Rest.Mid(1));
						continue;
					}
				}
				FString Name;
				FString Value;
				FString KeyName;
				int32 KeyIndex = 0;
				if (!Trimmed.Split(TEXT("="), &Name, &Value, ESearchCase::CaseSensitive) || !SplitPropertyKey(Name, KeyName, KeyIndex))
				{
					return Fail(FString::Printf(TEXT("'%s' is not a Name=Value line"), *Trimmed));
				}
				Current.Properties.Add(TPair<FString, FString>(Name, Value));
				Current.PropertyLines.Add(LineNumber);
			}
			if (!Open.IsEmpty())
			{
				OutError = FString::Printf(TEXT("the object begun on line %d is not ended (the text is truncated)"), OutRecords[Open.Last()].Line);
				return false;
			}
			if (OutRoots.IsEmpty())
			{
				OutError = TEXT("the text holds no object");
				return false;
			}
			return true;
		}

		/** Replaces each remapped prefix where it is followed by a path separator or the end of the path. */
		FString Remap(const FString& Text, const TArray<TPair<FString, FString>>& Remaps)
		{
			FString Result = Text;
			for (const TPair<FString, FString>& Pair : Remaps)
			{
				FString Output;
				int32 Start = 0;
				while (true)
				{
					const int32 Found = Result.Find(Pair.Key, ESearchCase::CaseSensitive, ESearchDir::FromStart, Start);
					if (Found == INDEX_NONE)
					{
						Output += Result.Mid(Start);
						break;
					}
					const int32 After = Found + Pair.Key.Len();
					const TCHAR Next = After < Result.Len() ? Result[After] : TCHAR(0);
					const bool bBoundary = Next == 0 || Next == '\'' || Next == '"' || Next == '.' || Next == ':' || Next == ',' || Next == ')' || FChar::IsWhitespace(Next);
					Output += Result.Mid(Start, Found - Start);
					Output += bBoundary ? Pair.Value : Pair.Key;
					Start = After;
				}
				Result = Output;
			}
			return Result;
		}

		/** Reads one property value into a scratch copy first, so a bad value leaves the property as it was. */
		bool ImportProperty(UObject* Object, FProperty* Property, int32 ArrayIndex, const FString& ValueText, FString& OutReason)
		{
			void* const Value = Property->ContainerPtrToValuePtr<void>(Object, ArrayIndex);
			const std::align_val_t Alignment = std::align_val_t(alignof(std::max_align_t) > 16 ? alignof(std::max_align_t) : 16);
			void* const ScratchValue = ::operator new((size_t)FMath::Max(Property->GetElementSize(), 1), Alignment);
			Property->InitializeValue(ScratchValue);
			Property->CopySingleValue(ScratchValue, Value);
			const TCHAR* End = Property->ImportText_Direct(*ValueText, ScratchValue, Object, PPF_Delimited);
			bool bRead = End != nullptr;
			if (bRead)
			{
				End = PropertyTextUtils::SkipWhitespace(End);
				if (End && *End)
				{
					OutReason = FString::Printf(TEXT("unexpected text after the value: '%s'"), End);
					bRead = false;
				}
			}
			else
			{
				OutReason = FString::Printf(TEXT("'%s' is not a value of type %s (or names an object that does not exist)"), *ValueText, *Property->GetCPPType());
			}
			if (bRead)
			{
				Property->CopySingleValue(Value, ScratchValue);
			}
			Property->DestroyValue(ScratchValue);
			::operator delete(ScratchValue, Alignment);
			return bRead;
		}

		void DiscardCreated(TArray<FObjectRecord>& Records)
		{
			for (int32 Index = Records.Num() - 1; Index >= 0; --Index)
			{
				if (Records[Index].bCreated && Records[Index].Object)
				{
					Records[Index].Object->MarkAsGarbage();
				}
			}
		}

		void PostLoadInnerFirst(TArray<FObjectRecord>& Records, int32 Index)
		{
			for (const int32 Child : Records[Index].Children)
			{
				PostLoadInnerFirst(Records, Child);
			}
			UObject* Object = Records[Index].Object;
			Object->PostLoad();
			Object->SetFlags(EObjectFlags(RF_WasLoaded | RF_LoadCompleted));
		}
	}

	void CollectSavedObjects(const UObject* Outer, TArray<UObject*>& OutObjects)
	{
		TArray<UObject*> Inner;
		GetObjectsWithOuter(Outer, Inner, true);
		for (UObject* Object : Inner)
		{
			bool bSaved = true;
			for (const UObject* Current = Object; Current && Current != Outer; Current = Current->GetOuter())
			{
				if (Current->HasAnyFlags(RF_Transient))
				{
					bSaved = false;
					break;
				}
			}
			if (bSaved)
			{
				OutObjects.Add(Object);
			}
		}
	}

	bool ExportObjects(const TArray<UObject*>& Roots, FString& OutText, FString& OutError)
	{
		TMap<const UObject*, TArray<UObject*>> Children;
		for (UObject* Root : Roots)
		{
			TArray<UObject*> Inner;
			CollectSavedObjects(Root, Inner);
			for (UObject* Object : Inner)
			{
				Children.FindOrAdd(Object->GetOuter()).Add(Object);
			}
		}
		FString Text;
		for (UObject* Root : Roots)
		{
			if (!ExportObject(Root, Children, 0, Text, OutError))
			{
				return false;
			}
		}
		OutText = MoveTemp(Text);
		return true;
	}

	bool ImportObjects(UObject* Outer, const FString& Text, const FImportOptions& Options, TArray<UObject*>& OutRoots, FString& OutError)
	{
		TArray<FObjectRecord> Records;
		TArray<int32> Roots;
		if (!ParseRecords(Text, Records, Roots, OutError))
		{
			return false;
		}
		if (!Options.RootName.IsNone() && Roots.Num() != 1)
		{
			OutError = TEXT("a renamed copy needs exactly one root object");
			return false;
		}
		// Every class must be known and instantiable before anything is created.
		for (FObjectRecord& Record : Records)
		{
			Record.Class = static_cast<UClass*>(StaticFindObject(UClass::StaticClass(), nullptr, *Record.ClassPath));
			if (!Record.Class)
			{
				OutError = FString::Printf(TEXT("line %d: unknown class '%s'"), Record.Line, *Record.ClassPath);
				return false;
			}
			// Reflected types are made by the code that declares them; of them, only classes that a
			// package declares itself (a blueprint's generated class) are read from one.
			const bool bPackageClass = Record.Class->IsChildOf(UClass::StaticClass()) && Record.Class != UClass::StaticClass();
			if (Record.Class->HasAnyClassFlags(CLASS_Abstract) || Record.Class->IsChildOf(UPackage::StaticClass()) || (Record.Class->IsChildOf(UField::StaticClass()) && !bPackageClass))
			{
				OutError = FString::Printf(TEXT("line %d: objects of class '%s' cannot be loaded"), Record.Line, *Record.ClassPath);
				return false;
			}
		}

		// Objects first, outers before the objects inside them. An object the outer's constructor
		// already made under the same name (a default subobject) is reused.
		for (int32 Index = 0; Index < Records.Num(); ++Index)
		{
			FObjectRecord& Record = Records[Index];
			UObject* RecordOuter = Record.Parent == INDEX_NONE ? Outer : Records[Record.Parent].Object;
			const FName Name = (Record.Parent == INDEX_NONE && !Options.RootName.IsNone()) ? Options.RootName : FName(*Record.Name);
			UObject* Existing = StaticFindObjectFast(nullptr, RecordOuter, Name);
			if (Existing && Existing->IsA(Record.Class) && Record.Parent != INDEX_NONE)
			{
				Record.Object = Existing;
				Existing->SetFlags(EObjectFlags(Record.Flags & PersistentFlags));
				continue;
			}
			if (Existing)
			{
				DiscardCreated(Records);
				OutError = FString::Printf(TEXT("line %d: an object named '%s' already exists in %s"), Record.Line, *Name.ToString(), *RecordOuter->GetPathName());
				return false;
			}
			Record.Object = NewObject<UObject>(RecordOuter, Record.Class, Name, EObjectFlags((Record.Flags & PersistentFlags) | RF_NeedLoad));
			if (!Record.Object)
			{
				DiscardCreated(Records);
				OutError = FString::Printf(TEXT("line %d: could not create '%s'"), Record.Line, *Name.ToString());
				return false;
			}
			Record.bCreated = true;
		}

		for (FObjectRecord& Record : Records)
		{
			for (int32 PropertyIndex = 0; PropertyIndex < Record.Properties.Num(); ++PropertyIndex)
			{
				const TPair<FString, FString>& Pair = Record.Properties[PropertyIndex];
				FString PropertyName;
				int32 ArrayIndex = 0;
				SplitPropertyKey(Pair.Key, PropertyName, ArrayIndex);
				FProperty* Property = Record.Class->FindPropertyByName(FName(*PropertyName));
				if (Property && ArrayIndex >= Property->ArrayDim)
				{
					UE_LOG(LogLinker, Warning, TEXT("%s: line %d: %s.%s has %d element(s); the value of element %d is ignored"),
						*Options.SourceDescription, Record.PropertyLines[PropertyIndex], *Record.Object->GetPathName(), *PropertyName, Property->ArrayDim, ArrayIndex);
					continue;
				}
				if (!Property || !IsSavedProperty(Property))
				{
					UE_LOG(LogLinker, Warning, TEXT("%s: line %d: %s has no saved property '%s'; the value is ignored"),
						*Options.SourceDescription, Record.PropertyLines[PropertyIndex], *Record.Object->GetPathName(), *Pair.Key);
					continue;
				}
				FString Reason;
				if (!ImportProperty(Record.Object, Property, ArrayIndex, Remap(Pair.Value, Options.PathRemaps), Reason))
				{
					UE_LOG(LogLinker, Warning, TEXT("%s: line %d: cannot read %s.%s: %s"),
						*Options.SourceDescription, Record.PropertyLines[PropertyIndex], *Record.Object->GetPathName(), *Pair.Key, *Reason);
				}
			}
		}

		for (FObjectRecord& Record : Records)
		{
			if (Record.CustomLines.IsEmpty())
			{
				continue;
			}
			FString Custom;
			for (const FString& Line : Record.CustomLines)
			{
				Custom += Remap(Line, Options.PathRemaps);
				Custom += TEXT("\n");
			}
			FFeedbackContext Warn;
			Record.Object->ImportCustomProperties(*Custom, &Warn);
			for (const FString& Warning : Warn.Warnings)
			{
				UE_LOG(LogLinker, Warning, TEXT("%s: %s: %s"), *Options.SourceDescription, *Record.Object->GetPathName(), *Warning);
			}
			for (const FString& Error : Warn.Errors)
			{
				UE_LOG(LogLinker, Error, TEXT("%s: %s: %s"), *Options.SourceDescription, *Record.Object->GetPathName(), *Error);
			}
		}

		for (FObjectRecord& Record : Records)
		{
			Record.Object->ClearFlags(RF_NeedLoad);
		}
		for (const int32 Root : Roots)
		{
			PostLoadInnerFirst(Records, Root);
			OutRoots.Add(Records[Root].Object);
		}
		return true;
	}
}
