// A command that cannot run as asked: unknown item, no vault, bad arguments,
// a database that is locked, damaged or of another schema version. Told in
// one line; the program exits with 2.
#pragma once

#include <stdexcept>
#include <string>

class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& what) : std::runtime_error(what) {}
};
