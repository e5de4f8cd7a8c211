// Test data for the skin tests: the archives and layouts in tests/skin/data (made by
// tools/make-test-archives.py) and scratch folders for file-mode loads.
#pragma once
#include <string>
#include <vector>

namespace skintest {

// tests/skin/data/ with a trailing backslash: $QUORIL_SKIN_TEST_DATA when set, else found from the
// test executable's folder (build/<name>/tests/ sits three levels below the source root).
const std::string& DataDir();
std::string DataPath(const std::string& name);
// Whole file; fails the current test (and returns empty) when it cannot be read.
std::vector<unsigned char> ReadData(const std::string& name);

// A fresh folder under the temporary path, removed with everything written into it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    // With a trailing backslash.
    const std::string& Path() const { return m_path; }
    std::string Write(const std::string& name, const void* bytes, size_t size);
    std::string Write(const std::string& name, const std::vector<unsigned char>& bytes)
    {
        return Write(name, bytes.data(), bytes.size());
    }

private:
    std::string m_path;
    std::vector<std::string> m_files;
};

}  // namespace skintest
