// An in-memory FileStore with injectable failures, shared by the unit tests.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "persist/file_store.h"

namespace brennic::test {

class FakeFileStore : public FileStore {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> unreadable;   // read fails
    std::set<std::string> unwritable;   // writeNew fails after emptying the file (a full disk)
    bool replaceFails = false;
    std::size_t lastReadLimit = 0;

    std::optional<std::string> read(const std::string& path, std::size_t limit) override {
        lastReadLimit = limit;
        const auto found = files.find(path);
        if (found == files.end() || unreadable.count(path) != 0) return std::nullopt;
        return found->second.substr(0, limit);
    }
    bool writeNew(const std::string& path, const std::string& bytes) override {
        if (unwritable.count(path) != 0) {
            files[path].clear();
            return false;
        }
        files[path] = bytes;
        return true;
    }
    bool replace(const std::string& from, const std::string& to) override {
        const auto found = files.find(from);
        if (replaceFails || found == files.end()) return false;
        files[to] = found->second;
        files.erase(from);
        return true;
    }
    bool remove(const std::string& path) override { return files.erase(path) != 0; }
};

}  // namespace brennic::test
