// The module's own texts: identifiers in the catalogue of module "Move" and
// their English defaults. Placeholders are printf-style, filled after Translate.
#pragma once

#include <cstdint>

enum class Msg : uint32_t {
    ItemDoesNotExist = 0x01,
    CheckedOutElsewhere = 0x02,
    NoRenamePermission = 0x03,
    NoMovePermission = 0x04,
    SameNameExists = 0x05,
    ItemsDoNotExist = 0x06,
    OneItemDoesNotExist = 0x07,
    FilesCheckedOut = 0x08,
    OneFileCheckedOut = 0x09,
    NoPermissionFiles = 0x0A,
    NoPermissionOneFile = 0x0B,
    NamesAlreadyUsed = 0x0C,
    OneNameAlreadyUsed = 0x0D,
    UnknownErrors = 0x0E,
    OneUnknownError = 0x0F,
    CaptionMove = 0x10,
    CaptionRename = 0x11,
    AddInError = 0x12,
    TargetsAlreadyExist = 0x13,
    ItemNotRenamed = 0x14,
    ItemsNotMoved = 0x15,
    ItemNotRenamedLocally = 0x16,
    ItemsNotMovedLocally = 0x17,
    ReportNotShown = 0x18,
    ItemsCannotMoveLocally = 0x19,
    ItemsCouldNotMoveLocally = 0x1A,
    OneItemCannotMoveLocally = 0x1B,
    OneItemCouldNotMoveLocally = 0x1C,
    RetryReferenceUpdate = 0x1D,
    ReferencesNotUpdatedFiles = 0x1E,
    ReferencesNotUpdatedOneFile = 0x1F,
    InvalidNewName = 0x20,
    SharedTargets = 0x21,
    NoAddPermission = 0x22,
    NoMoveFilePermission = 0x23,
    NoReadFilePermission = 0x24,
    LacksAMovePermission = 0x25,
    NoMoveFolderPermission = 0x26,
    NoMoveParentFolderPermission = 0x27,
    NoMoveSubfolderFilePermission = 0x28,
};

// The English default of a message.
const wchar_t* EnglishText(Msg id);
