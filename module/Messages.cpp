#include "module/Messages.h"

#include <iterator>

namespace {

struct MessageRow {
    Msg id;
    const wchar_t* english;
};

constexpr MessageRow kMessages[] = {
    {Msg::ItemDoesNotExist, L"The item does not exist"},
    {Msg::CheckedOutElsewhere, L"The file is checked out on another computer"},
    {Msg::NoRenamePermission, L"You lack permission to rename this item"},
    {Msg::NoMovePermission, L"You lack permission to move this item"},
    {Msg::SameNameExists, L"An item with the same name already exists"},
    {Msg::ItemsDoNotExist, L"%d items do not exist"},
    {Msg::OneItemDoesNotExist, L"One item does not exist"},
    {Msg::FilesCheckedOut, L"%d files are checked out"},
    {Msg::OneFileCheckedOut, L"One file is checked out on another computer"},
    {Msg::NoPermissionFiles, L"You lack permission to process %d files"},
    {Msg::NoPermissionOneFile, L"You lack permission to process one file"},
    {Msg::NamesAlreadyUsed, L"%d item names are already used"},
    {Msg::OneNameAlreadyUsed, L"One name is already used"},
    {Msg::UnknownErrors, L"There are %d unknown errors"},
    {Msg::OneUnknownError, L"There is one unknown error"},
    {Msg::CaptionMove, L"Move Items"},
    {Msg::CaptionRename, L"Rename Item"},
    {Msg::AddInError, L"Error running add-ins:\n%s"},
    {Msg::TargetsAlreadyExist,
     L"Moving/renaming the selected items is not possible since the destination folder already contains items "
     L"with the same names."},
    {Msg::ItemNotRenamed, L"The item could not be renamed."},
    {Msg::ItemsNotMoved, L"Some items could not be moved."},
    {Msg::ItemNotRenamedLocally, L"The item could not be renamed on the local disk."},
    {Msg::ItemsNotMovedLocally, L"Not all of the selected items could be successfully moved on the local disk."},
    {Msg::ReportNotShown, L"Could not display dialog box with error messages:"},
    {Msg::ItemsCannotMoveLocally, L"%d items can not be moved on the local disk"},
    {Msg::ItemsCouldNotMoveLocally, L"%d items could not be moved on the local disk"},
    {Msg::OneItemCannotMoveLocally, L"One item can not be moved on the local disk"},
    {Msg::OneItemCouldNotMoveLocally, L"One item could not be moved on the local disk"},
    {Msg::RetryReferenceUpdate,
     L"Failed to update file reference include paths in '%s'.\nCause: %s\n\nDo you want to try again?"},
    {Msg::ReferencesNotUpdatedFiles, L"Could not update file reference paths in %d files on the local disk"},
    {Msg::ReferencesNotUpdatedOneFile, L"Could not update file reference paths in one file on the local disk"},
    {Msg::InvalidNewName, L"The new file name is not valid."},
    {Msg::SharedTargets, L"Moving/renaming the selected items with the same name is not supported!"},
    {Msg::NoAddPermission, L"You do not have add permission in the target folder"},
    {Msg::NoMoveFilePermission, L"You do not have Move file permissions"},
    {Msg::NoReadFilePermission, L"You do not have Read file contents permissions"},
    {Msg::LacksAMovePermission, L"Lack one of permission to move this item"},
    {Msg::NoMoveFolderPermission, L"You do not have Move folder permissions"},
    {Msg::NoMoveParentFolderPermission, L"You do not have Move folder permissions for the parent folder"},
    {Msg::NoMoveSubfolderFilePermission, L"You do not have Move file permissions for the subfolder"},
};

// Identifiers run from 1 without gaps, so a row's index is its identifier - 1.
constexpr bool RowsAreDense() {
    for (size_t i = 0; i < std::size(kMessages); ++i) {
        if (static_cast<size_t>(kMessages[i].id) != i + 1) return false;
    }
    return true;
}
static_assert(RowsAreDense(), "message rows must be ordered by identifier");

}  // namespace

const wchar_t* EnglishText(Msg id) {
    const size_t index = static_cast<size_t>(id) - 1;
    return index < std::size(kMessages) ? kMessages[index].english : L"";
}
