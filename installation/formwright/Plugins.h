// The plug-ins of the file-format manager stand-in: each rewrites the
// reference paths stored in one document format and keeps every other byte.
//
// Text document: UTF-8 lines, the first one "FWTEXT 1"; a line "REF <path>"
// stores one reference. Line ends (CR LF or LF) are kept as they are.
// Compound document: an OLE compound file with a stream "References" that holds
// the paths in UTF-16, each one ended by a zero character; every other stream
// and storage is left alone.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace formwright {

inline constexpr char kTextSignature[] = "FWTEXT 1";
inline constexpr wchar_t kReferencesStream[] = L"References";

// The new text of a stored reference, or nothing to keep it.
using ReferenceMap = std::function<std::optional<std::wstring>(const std::wstring& stored)>;

// S_OK when rewritten (or when nothing needed it), E_QOR_NO_MATCHING_PLUGIN
// when the document is not of the plug-in's format, and a failure when it
// cannot be opened for writing (missing, or held by another process).
HRESULT RewriteTextDocument(const std::wstring& path, const ReferenceMap& map);
HRESULT RewriteCompoundDocument(const std::wstring& path, const ReferenceMap& map);

// The references a document stores, in order, read without writing; nothing
// when the file cannot be read or is not of the plug-in's format.
std::optional<std::vector<std::wstring>> StoredTextReferences(const std::wstring& path);
std::optional<std::vector<std::wstring>> StoredCompoundReferences(const std::wstring& path);
// Either, by what the file is.
std::optional<std::vector<std::wstring>> StoredReferences(const std::wstring& path);

// New documents that store `references`; an existing file is replaced.
HRESULT WriteTextDocument(const std::wstring& path, const std::wstring& title,
                          const std::vector<std::wstring>& references);
HRESULT WriteCompoundDocument(const std::wstring& path, const std::vector<std::wstring>& references);

}  // namespace formwright
