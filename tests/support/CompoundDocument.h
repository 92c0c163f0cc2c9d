// Compound documents for the tests, written and read with the structured
// storage API directly: a stream "References" of zero-ended UTF-16 paths, and
// any other streams the test wants kept.
#pragma once

#include <map>
#include <string>
#include <vector>

using Streams = std::map<std::wstring, std::string>;  // stream name -> bytes

void WriteCompoundDocument(const std::wstring& path, const std::vector<std::wstring>& references,
                           const Streams& others = {});
// Every stream of the document's root storage.
Streams ReadCompoundStreams(const std::wstring& path);
// The references stream as paths.
std::vector<std::wstring> CompoundReferences(const std::wstring& path);
