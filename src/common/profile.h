// The configuration file: a Windows profile (INI) file read and written byte for byte
// in CP932. Sections and keys are matched without regard to ASCII letter case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/filesystem.h"

namespace zv {

class IProfile {
public:
    virtual ~IProfile() = default;
    // The decimal integer of a key (negative numbers read as negative), or def when the
    // key is missing or its value is empty.
    virtual std::int32_t GetInt(std::string_view section, std::string_view key,
                                std::int32_t def) = 0;
    // The value of a key (surrounding blanks and one pair of enclosing quotes removed),
    // or def when the key is missing.
    virtual std::string GetString(std::string_view section, std::string_view key,
                                  std::string_view def) = 0;
    // Stores a value; false when the file could not be written.
    virtual bool WriteInt(std::string_view section, std::string_view key, std::int32_t value) = 0;
    virtual bool WriteString(std::string_view section, std::string_view key,
                             std::string_view value) = 0;
};

// An integer key that must not be negative: when it is missing or negative, defaultValue
// is written back at once and returned.
std::int32_t ReadIntOrRepair(IProfile& profile, std::string_view section, std::string_view key,
                             std::int32_t defaultValue);

// A profile file on disk. Every call reads the file afresh, so values written by other
// programs of the suite in between are seen; every write replaces the file as a whole
// through IFileSystem::ReplaceContent, so a crash never leaves a torn file.
class IniProfile : public IProfile {
public:
    IniProfile(IFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    const std::string& Path() const { return path_; }

    std::int32_t GetInt(std::string_view section, std::string_view key, std::int32_t def) override;
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view def) override;
    bool WriteInt(std::string_view section, std::string_view key, std::int32_t value) override;
    bool WriteString(std::string_view section, std::string_view key,
                     std::string_view value) override;

private:
    IFileSystem& fs_;
    std::string path_;
};

// The INI text operations behind IniProfile, on the file's bytes.
bool IniLookup(std::string_view text, std::string_view section, std::string_view key,
               std::string& value);
std::string IniSet(std::string_view text, std::string_view section, std::string_view key,
                   std::string_view value);

}  // namespace zv
