// An in-memory options key with switchable failures.
#pragma once

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "persist/options.h"

namespace brennic::test {

class FakeSettingsStore : public SettingsStore {
public:
    std::map<std::string, StoredValue> values;
    bool keyExists = true;          // reads fail when false
    bool failCreate = false;
    bool failClose = false;
    std::set<std::string> failWrites;  // value names whose write fails
    std::vector<std::string> log;      // "create", "write <name>", "close"
    bool open = false;

    void putDword(const std::string& name, std::uint32_t number) {
        std::string data(4, '\0');
        std::memcpy(data.data(), &number, 4);
        values[name] = {kStoreDword, data};
    }
    void putText(const std::string& name, const std::string& text) { values[name] = {kStoreText, text}; }
    std::uint32_t dword(const std::string& name) const {
        std::uint32_t number = 0;
        std::memcpy(&number, values.at(name).data.data(), 4);
        return number;
    }

    bool read(const std::string& name, StoredValue& value) override {
        if (!keyExists) return false;
        auto it = values.find(name);
        if (it == values.end()) return false;
        value = it->second;
        return true;
    }
    bool createKey() override {
        log.push_back("create");
        if (failCreate) return false;
        keyExists = true;
        open = true;
        return true;
    }
    bool writeDword(const std::string& name, std::uint32_t number) override {
        log.push_back("write " + name);
        if (!open || failWrites.count(name)) return false;
        putDword(name, number);
        return true;
    }
    bool writeText(const std::string& name, const std::string& text) override {
        log.push_back("write " + name);
        if (!open || failWrites.count(name)) return false;
        putText(name, text);
        return true;
    }
    bool closeKey() override {
        log.push_back("close");
        open = false;
        return !failClose;
    }
};

}  // namespace brennic::test
