// Whether the operation is a rename or a move, which decides its caption and
// the wording of its messages.
#include "common/StringUtil.h"
#include "module/Translate.h"
#include "move/Mover.h"

// A rename only when every request item gets a new name and every local item
// changes its name part (case counts).
bool Mover::IsRename() const {
    for (const MoveItem* item : request->items) {
        if (item->newName.empty()) return false;
    }
    for (const LocalItem* item : request->localItems) {
        if (FileNamePart(item->oldPath) == FileNamePart(item->newPath)) return false;
    }
    return true;
}

std::wstring Mover::Caption() const { return Translate(IsRename() ? Msg::CaptionRename : Msg::CaptionMove); }
