// CStatusLog: appends each status line of the gallery to a text file, so a script driving the
// window can read what it showed.
//
// The file is named by the environment variable kLogVariable (a Windows path); without it nothing
// is written. Each line is opened, appended and closed at once: a reader sees it immediately, and
// a program that ends abruptly loses nothing. A file that cannot be opened is skipped silently,
// as the status line itself still shows the text.
#pragma once

#include <string>

namespace Gallery {

class CStatusLog {
public:
    static constexpr const char* kLogVariable = "SKINUI_GALLERY_LOG";
    static const size_t kMaxPath = 1024;

    // Reads the file name from the environment.
    CStatusLog();
    explicit CStatusLog(std::string path)
        : m_path(std::move(path))
    {
    }

    bool IsEnabled() const { return !m_path.empty(); }
    // Writes `line` and a line feed at the end of the file.
    void Append(const std::string& line) const;

private:
    std::string m_path;  // empty: no log
};

}  // namespace Gallery
