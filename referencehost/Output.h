// What the commands print: plain text for people, or one JSON object.
#pragma once

#include "GhMove.h"

#include <string>

// Writes UTF-8 to standard output.
void Print(const std::wstring& text);
// A JSON string, every character outside printable ASCII escaped.
std::wstring Json(const std::wstring& text);
std::wstring HexCode(HRESULT code);
// What a result of ghMove means, in words.
std::wstring ResultText(HRESULT code);

// The result and every entry of the request's lists.
void PrintOutcome(const MoveRequest& request, HRESULT result, const std::string& databaseFailure, bool json);
