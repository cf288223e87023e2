// The headless desktop platform: its dialogs take the answers queued for them (HostEditorSupport/
// DesktopDialogs.h) and log what they were asked, since there is no user to show them to.

#include "DesktopPlatformModule.h"

#include "HostEditorSupport/DesktopDialogs.h"
#include "Logging/LogMacros.h"
#include "Modules/ModuleManager.h"

DEFINE_LOG_CATEGORY_STATIC(LogDesktopPlatform, Log, All);

namespace
{
	TArray<TOptional<FString>>& PendingAnswers()
	{
		static TArray<TOptional<FString>> Answers;
		return Answers;
	}

	TArray<HostEditor::FDesktopDialogRecord>& Records()
	{
		static TArray<HostEditor::FDesktopDialogRecord> Shown;
		return Shown;
	}

	/** Shows a dialog: takes the next queued answer, or cancels when there is none. */
	TOptional<FString> Show(HostEditor::FDesktopDialogRecord Record)
	{
		if (PendingAnswers().IsEmpty())
		{
			UE_LOG(LogDesktopPlatform, Warning, TEXT("Dialog \"%s\" was not answered (no answer was queued for this headless run): cancelled"), *Record.Title);
		}
		else
		{
			Record.Answer = PendingAnswers()[0];
			PendingAnswers().RemoveAt(0);
			UE_LOG(LogDesktopPlatform, Display, TEXT("Dialog \"%s\" answered: %s"), *Record.Title,
				Record.Answer.IsSet() ? *FString::Printf(TEXT("'%s'"), *Record.Answer.GetValue()) : TEXT("cancelled"));
		}
		const TOptional<FString> Answer = Record.Answer;
		Records().Add(MoveTemp(Record));
		return Answer;
	}

	class FHeadlessDesktopPlatform final : public IDesktopPlatform
	{
	public:
		virtual bool OpenFileDialog(const void* ParentWindowHandle, const FString& DialogTitle, const FString& DefaultPath, const FString& DefaultFile, const FString& FileTypes, uint32 Flags, TArray<FString>& OutFilenames) override
		{
			HostEditor::FDesktopDialogRecord Record;
			Record.Kind = TEXT("OpenFile");
			Record.Title = DialogTitle;
			Record.DefaultPath = DefaultPath;
			Record.DefaultFile = DefaultFile;
			Record.FileTypes = FileTypes;
			Record.Flags = Flags;
			Record.bHasParentWindow = ParentWindowHandle != nullptr;
			const TOptional<FString> Answer = Show(MoveTemp(Record));
			if (!Answer.IsSet() || Answer.GetValue().IsEmpty())
			{
				return false;
			}
			OutFilenames.Add(Answer.GetValue());
			return true;
		}

		virtual bool OpenDirectoryDialog(const void* ParentWindowHandle, const FString& DialogTitle, const FString& DefaultPath, FString& OutFolderName) override
		{
			HostEditor::FDesktopDialogRecord Record;
			Record.Kind = TEXT("OpenDirectory");
			Record.Title = DialogTitle;
			Record.DefaultPath = DefaultPath;
			Record.bHasParentWindow = ParentWindowHandle != nullptr;
			const TOptional<FString> Answer = Show(MoveTemp(Record));
			if (!Answer.IsSet() || Answer.GetValue().IsEmpty())
			{
				return false;
			}
			OutFolderName = Answer.GetValue();
			return true;
		}
	};
}

IDesktopPlatform* FDesktopPlatformModule::Get()
{
	static FHeadlessDesktopPlatform Platform;
	return &Platform;
}

void FDesktopPlatformModule::StartupModule()
{
}

void FDesktopPlatformModule::ShutdownModule()
{
}

namespace HostEditor
{
	void QueueDesktopDialogAnswer(const TOptional<FString>& Answer)
	{
		PendingAnswers().Add(Answer);
	}

	int32 NumPendingDesktopDialogAnswers()
	{
		return PendingAnswers().Num();
	}

	const TArray<FDesktopDialogRecord>& GetDesktopDialogs()
	{
		return Records();
	}

	void ResetDesktopDialogs()
	{
		PendingAnswers().Empty();
		Records().Empty();
	}
}

IMPLEMENT_MODULE(FDesktopPlatformModule, DesktopPlatform)
