#include "SkinTestData.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

namespace skintest {

const std::string& DataDir()
{
    static const std::string dir = [] {
        if (const char* fromEnv = std::getenv("QUORIL_SKIN_TEST_DATA")) {
            std::string path = fromEnv;
            if (!path.empty() && path.back() != '\\' && path.back() != '/')
                path += '\\';
            return path;
        }
        char exe[MAX_PATH + 1] = {};
        const DWORD length = ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string path(exe, length);
        path.erase(path.find_last_of("\\/") + 1);
        return path + "..\\..\\..\\tests\\skin\\data\\";
    }();
    return dir;
}

std::string DataPath(const std::string& name) { return DataDir() + name; }

std::vector<unsigned char> ReadData(const std::string& name)
{
    std::ifstream in(DataPath(name), std::ios::binary);
    EXPECT_TRUE(in.good()) << "missing test data " << DataPath(name);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ScratchDir::ScratchDir()
{
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    for (;;) {
        m_path = std::string(temp) + "skintest-" + std::to_string(::GetCurrentProcessId()) + "-"
            + std::to_string(++serial);
        if (::CreateDirectoryA(m_path.c_str(), nullptr))
            break;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "cannot create " << m_path;
            break;
        }
    }
    m_path += '\\';
}

ScratchDir::~ScratchDir()
{
    for (const std::string& file : m_files)
        ::DeleteFileA(file.c_str());
    ::RemoveDirectoryA(m_path.c_str());
}

std::string ScratchDir::Write(const std::string& name, const void* bytes, size_t size)
{
    const std::string path = m_path + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    EXPECT_TRUE(out.good()) << "cannot write " << path;
    m_files.push_back(path);
    return path;
}

}  // namespace skintest
