// A profile held in memory for the win32 tests: values by "section/key", as written.
#pragma once

#include <map>
#include <string>

#include "common/profile.h"

namespace zv::test {

class MapProfile : public IProfile {
public:
    std::map<std::string, std::string> values;

    std::int32_t GetInt(std::string_view section, std::string_view key, std::int32_t def) override {
        auto it = values.find(Name(section, key));
        return it == values.end() || it->second.empty() ? def : std::stoi(it->second);
    }
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view def) override {
        auto it = values.find(Name(section, key));
        return it == values.end() ? std::string(def) : it->second;
    }
    bool WriteInt(std::string_view section, std::string_view key, std::int32_t value) override {
        values[Name(section, key)] = std::to_string(value);
        return true;
    }
    bool WriteString(std::string_view section, std::string_view key,
                     std::string_view value) override {
        values[Name(section, key)] = std::string(value);
        return true;
    }

private:
    static std::string Name(std::string_view section, std::string_view key) {
        return std::string(section) + "/" + std::string(key);
    }
};

}  // namespace zv::test
