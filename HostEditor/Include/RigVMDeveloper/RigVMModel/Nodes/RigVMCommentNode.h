// URigVMCommentNode: a comment box in a graph.
#pragma once

#include "CoreMinimal.h"
#include "RigVMModel/RigVMNode.h"

#include "RigVMCommentNode.generated.h"

/** A comment: text inside a box of its own size and colour; it has no pins. */
UCLASS(BlueprintType)
class RIGVMDEVELOPER_API URigVMCommentNode : public URigVMNode
{
	GENERATED_BODY()

public:
	/** Returns the comment's text. */
	UFUNCTION(BlueprintCallable, Category = RigVMCommentNode)
	FString GetCommentText() const { return CommentText; }

	/** Returns the comment's font size. */
	UFUNCTION(BlueprintCallable, Category = RigVMCommentNode)
	int32 GetCommentFontSize() const { return FontSize; }

	/** Returns true when the comment shows as a bubble when zoomed out. */
	UFUNCTION(BlueprintCallable, Category = RigVMCommentNode)
	bool GetCommentBubbleVisible() const { return bBubbleVisible; }

	/** Returns true when the bubble takes the comment's colour. */
	UFUNCTION(BlueprintCallable, Category = RigVMCommentNode)
	bool GetCommentColorBubble() const { return bColorBubble; }

	virtual FString GetNodeTitle() const override { return CommentText; }

private:
	friend class URigVMController;

	UPROPERTY()
	FString CommentText;

	UPROPERTY()
	int32 FontSize = 18;

	UPROPERTY()
	bool bBubbleVisible = false;

	UPROPERTY()
	bool bColorBubble = false;
};
