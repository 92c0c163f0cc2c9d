// The vault client's file-reference report dialog and the interfaces through
// which it walks a report: a command object hands out lists of items (as
// opaque positions), and every item describes itself and its children.
// Slot order and argument counts are shared with the dialog. Arguments named
// `unused` are 32-bit values the module never reads; `reserved` slots are the
// dialog's business and their argument types are not fixed.
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <oaidl.h>

// {94ACE1AD-57F7-4FE1-BD61-7C2D9FD29FF3}
inline constexpr CLSID CLSID_FileRefDlg = {0x94ACE1AD, 0x57F7, 0x4FE1, {0xBD, 0x61, 0x7C, 0x2D, 0x9F, 0xD2, 0x9F, 0xF3}};
// {FEF50E64-B21F-4E7A-91ED-76CD788BB51D}
inline constexpr IID IID_IFileRefDlg = {0xFEF50E64, 0xB21F, 0x4E7A, {0x91, 0xED, 0x76, 0xCD, 0x78, 0x8B, 0xB5, 0x1D}};
// {136053DF-CECD-44C9-9812-FFA993C58F1D}
inline constexpr IID IID_IFileRefCmd = {0x136053DF, 0xCECD, 0x44C9, {0x98, 0x12, 0xFF, 0xA9, 0x93, 0xC5, 0x8F, 0x1D}};
// {6BA5CE2B-6096-470C-AE39-6D4345A22810}
inline constexpr IID IID_IFileRefItem = {0x6BA5CE2B, 0x6096, 0x470C, {0xAE, 0x39, 0x6D, 0x43, 0x45, 0xA2, 0x28, 0x10}};
// {5F9303B6-D366-4509-8CC3-32E1A5CB3374}
inline constexpr IID IID_IFileRefItem2 = {0x5F9303B6, 0xD366, 0x4509, {0x8C, 0xC3, 0x32, 0xE1, 0xA5, 0xCB, 0x33, 0x74}};
// {0A374F0E-320A-4707-ABAB-50E0E95D1A0E}
inline constexpr IID IID_IFileRefItem3 = {0x0A374F0E, 0x320A, 0x4707, {0xAB, 0xAB, 0x50, 0xE0, 0xE9, 0x5D, 0x1A, 0x0E}};
// {B7DE4C9E-F387-4A29-9938-6907254C28CC}
inline constexpr IID IID_IFileRefItemIcon = {0xB7DE4C9E, 0xF387, 0x4A29, {0x99, 0x38, 0x69, 0x07, 0x25, 0x4C, 0x28, 0xCC}};
// {C91DBC9E-6761-4FE4-92C6-E76E8263CB06}
inline constexpr IID IID_IEditableFileRefItem = {0xC91DBC9E, 0x6761, 0x4FE4, {0x92, 0xC6, 0xE7, 0x6E, 0x82, 0x63, 0xCB, 0x06}};

// Status codes and types an item reports through GetStatus and GetMoveProblem.
inline constexpr LONG kStatusError = 36;
inline constexpr LONG kStatusNonUnique = 37;
inline constexpr LONG kItemTypeGroup = 4;
// Icons: a folder item, a group of refused items, a group of local failures.
inline constexpr USHORT kIconFolder = 3;
inline constexpr USHORT kIconRefusedGroup = 16;
inline constexpr USHORT kIconFailedGroup = 2;
// The item command that shows the vault files sharing a name.
inline constexpr LONG kCommandNonUniqueFiles = 11;
// The kind of child GetNextChildOfKind hands out.
inline constexpr LONG kChildKindItem = 1;

// One item of the report: a group or a failed file or folder. 20 slots.
struct IFileRefItem : IUnknown {
    // The children's position, rewound to the first child; S_FALSE without children.
    virtual HRESULT STDMETHODCALLTYPE GetChildList(ULONG unused1, ULONG unused2, IUnknown** position) = 0;
    // The child at the children's cursor; S_FALSE and null at the end.
    virtual HRESULT STDMETHODCALLTYPE GetNextChild(ULONG unused1, ULONG unused2, ULONG unused3,
                                                   IFileRefItem** child) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetChildListAgain(ULONG unused1, ULONG unused2, IUnknown** position) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNextChildOfKind(ULONG unused1, ULONG unused2, ULONG unused3,
                                                         const LONG* kind, IFileRefItem** child) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStatus(ULONG unused, LONG* code, LONG* type, BSTR* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetName(ULONG unused, BSTR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDisplayName(ULONG unused, BSTR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE ItemReserved10(ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE ItemReserved11(ULONG_PTR, ULONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFolder(ULONG unused, BSTR* folder) = 0;
    virtual HRESULT STDMETHODCALLTYPE ItemReserved13(ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE ItemReserved14(ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE ItemReserved15(ULONG_PTR, ULONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE ItemReserved16(ULONG_PTR, ULONG_PTR, ULONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE ItemReserved17(ULONG_PTR, ULONG_PTR, ULONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE ItemReserved18(ULONG_PTR, ULONG_PTR) = 0;
    // A text that tells this item apart from every other live item.
    virtual HRESULT STDMETHODCALLTYPE GetItemKey(BSTR* key) = 0;
};

// 5 slots, none of which the module implements.
struct IFileRefItem2 : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Item2Reserved3(ULONG_PTR, ULONG_PTR, ULONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE Item2Reserved4(ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR) = 0;
};

// Item commands. 5 slots.
struct IFileRefItem3 : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetCommandState(LONG command, ULONG unused, VARIANT* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE InvokeCommand(LONG command, ULONG unused1, ULONG unused2) = 0;
};

// 4 slots.
struct IFileRefItemIcon : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetIcon(VARIANT* icon) = 0;
};

// 12 slots; the flags of slots 5, 7 and 8 mean what the dialog makes of them.
struct IEditableFileRefItem : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE EditReserved3(ULONG_PTR, ULONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTargetFolder(ULONG unused, BSTR* folder) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFlag5(ULONG unused, VARIANT_BOOL* flag) = 0;
    // Why the item may not be moved; `text` is in/out.
    virtual HRESULT STDMETHODCALLTYPE GetMoveProblem(ULONG unused, LONG* code, LONG* type, BSTR* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFlag7(ULONG unused, VARIANT_BOOL* flag) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFlag8(VARIANT_BOOL* flag) = 0;
    virtual HRESULT STDMETHODCALLTYPE EditSlot9(ULONG_PTR, ULONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE EditReserved10(ULONG_PTR, ULONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE EditReserved11(ULONG_PTR) = 0;
};

// The command object the dialog is driven by. 11 slots.
struct IFileRefCmd : IUnknown {
    // Two one-dimensional VT_I4 arrays of column numbers, and display flags.
    virtual HRESULT STDMETHODCALLTYPE GetColumns(SAFEARRAY** columns, SAFEARRAY** shownColumns, LONG* flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE CmdSlot4(ULONG_PTR, ULONG_PTR, ULONG_PTR) = 0;
    // The top-level list of the report as a position.
    virtual HRESULT STDMETHODCALLTYPE GetTopLevel(ULONG unused, IUnknown** position) = 0;
    // The next item of a position this command handed out; S_FALSE and null at the end.
    virtual HRESULT STDMETHODCALLTYPE GetNext(ULONG unused, IUnknown* position, IFileRefItem** item) = 0;
    virtual HRESULT STDMETHODCALLTYPE CmdSlot7(ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE CmdSlot8(ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR) = 0;
    // Text 0 is the caption, text 2 the description.
    virtual HRESULT STDMETHODCALLTYPE GetText(LONG number, BSTR* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE CmdSlot10(ULONG_PTR) = 0;
};

inline constexpr LONG kTextCaption = 0;
inline constexpr LONG kTextDescription = 2;

struct IFileRefDlg : IUnknown {
    // Returns when the user closes the report; negative on failure.
    virtual HRESULT STDMETHODCALLTYPE ShowReport(HWND parent, IFileRefCmd* command, LONG zero1, LONG zero2,
                                                 BSTR dialogName) = 0;
};
