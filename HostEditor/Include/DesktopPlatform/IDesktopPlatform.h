// IDesktopPlatform: the operating system's file and folder dialogs.
#pragma once

#include "CoreMinimal.h"

namespace EFileDialogFlags
{
	enum Type : int
	{
		None = 0x00,
		/** The user may choose more than one file. */
		Multiple = 0x01,
	};
}

class IDesktopPlatform
{
public:
	virtual ~IDesktopPlatform() = default;

	/**
	 * Asks the user for files to open. FileTypes is "Description|*.ext" pairs joined by "|". Returns
	 * false when the user cancels; OutFilenames then holds nothing new.
	 */
	virtual bool OpenFileDialog(const void* ParentWindowHandle, const FString& DialogTitle, const FString& DefaultPath, const FString& DefaultFile, const FString& FileTypes, uint32 Flags, TArray<FString>& OutFilenames) = 0;

	/** Asks the user for a folder. Returns false when the user cancels. */
	virtual bool OpenDirectoryDialog(const void* ParentWindowHandle, const FString& DialogTitle, const FString& DefaultPath, FString& OutFolderName) = 0;
};
