// Records handed to the vault's components as SAFEARRAYs of VT_RECORD. Their
// type libraries belong to the components; the layouts are what the module writes.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstddef>
#include <cstdint>

// The vault's records: AddInCmdData and ObjectIdPair, library version 5.21.
// {F02256BA-6E2A-45BC-8F2F-14682AB16BD5}
inline constexpr GUID LIBID_VaultRecords = {0xF02256BA, 0x6E2A, 0x45BC, {0x8F, 0x2F, 0x14, 0x68, 0x2A, 0xB1, 0x6B, 0xD5}};
inline constexpr WORD kVaultRecordsMajor = 5, kVaultRecordsMinor = 21;
// The non-unique files dialog's record, library version 5.2.
// {7F3F351F-729C-4F9C-803E-658BB5FBBD0E}
inline constexpr GUID LIBID_DialogRecords = {0x7F3F351F, 0x729C, 0x4F9C, {0x80, 0x3E, 0x65, 0x8B, 0xB5, 0xFB, 0xBD, 0x0E}};
inline constexpr WORD kDialogRecordsMajor = 5, kDialogRecordsMinor = 2;

// {34BA32A5-D998-464F-A2B3-8836F2687B3A}
inline constexpr GUID RECID_AddInCmdData = {0x34BA32A5, 0xD998, 0x464F, {0xA2, 0xB3, 0x88, 0x36, 0xF2, 0x68, 0x7B, 0x3A}};
// {E38EAEFF-51FC-455C-805E-8C0CEC9B27C5}
inline constexpr GUID RECID_ObjectIdPair = {0xE38EAEFF, 0x51FC, 0x455C, {0x80, 0x5E, 0x8C, 0x0C, 0xEC, 0x9B, 0x27, 0xC5}};
// {64319B99-F7FA-4420-9B57-6F54C28B5E06}
inline constexpr GUID RECID_NonUniqueFileRecord = {0x64319B99, 0xF7FA, 0x4420, {0x9B, 0x57, 0x6F, 0x54, 0xC2, 0x8B, 0x5E, 0x06}};

// One item of an add-in command.
struct AddInCmdData {
    int32_t id1;
    int32_t id2;
    int32_t id3;
    int32_t unused;
    BSTR text1;
    BSTR text2;
    int32_t reserved[5];
};

// Identifiers of the two objects the vault finds for one path.
struct ObjectIdPair {
    int32_t firstId;
    int32_t secondId;
};

// One vault file that carries a name in question.
struct NonUniqueFileRecord {
    int32_t value1;
    int32_t value2;
    int32_t value3;
    BSTR text1;
    BSTR text2;
    BSTR text3;
    BSTR text4;
    VARIANT_BOOL flag;
    int16_t padding;
};

#if defined(_M_IX86) || defined(__i386__)
static_assert(sizeof(AddInCmdData) == 44 && offsetof(AddInCmdData, text1) == 0x10 &&
                  offsetof(AddInCmdData, text2) == 0x14 && offsetof(AddInCmdData, reserved) == 0x18,
              "AddInCmdData layout");
static_assert(sizeof(ObjectIdPair) == 8 && offsetof(ObjectIdPair, secondId) == 4, "ObjectIdPair layout");
static_assert(sizeof(NonUniqueFileRecord) == 32 && offsetof(NonUniqueFileRecord, text1) == 0x0C &&
                  offsetof(NonUniqueFileRecord, text4) == 0x18 && offsetof(NonUniqueFileRecord, flag) == 0x1C,
              "NonUniqueFileRecord layout");
#endif
