#include "app/CommandLine.h"

#include <windows.h>

namespace Quoril {

namespace {

// CreateProcess refuses longer command lines.
const size_t kMaxCommandLine = 32767;

// True when the name's last character (not merely its last byte: a double-byte character of the
// ANSI code page may end in 0x5C) is a backslash, which the tool's argument parser would read as
// escaping the closing quote.
bool EndsWithBackslash(const std::string& text) {
    bool last = false;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsDBCSLeadByte(c) && i + 1 < text.size()) {
            last = false;
            i += 2;
        } else {
            last = (c == '\\');
            ++i;
        }
    }
    return last;
}

}  // namespace

bool IsQuotableConnectionName(const std::string& connection) {
    if (connection.empty() || connection.size() > 255)
        return false;
    if (connection.find_first_of(std::string("\"\r\n\0", 4)) != std::string::npos)
        return false;
    return !EndsWithBackslash(connection);
}

bool BuildNetshCommandLine(NetshCommand kind, const std::string& connection, const char* address,
                           std::string& out) {
    out.clear();
    if (!IsQuotableConnectionName(connection))
        return false;
    std::string line;
    switch (kind) {
    case NetshCommand::SetPrimary:
        if (!address)
            return false;
        line = "netsh interface ip set dns name=\"" + connection + "\" source=static addr=" +
               address + " register=primary";
        break;
    case NetshCommand::AddSecond:
    case NetshCommand::AddThird:
        if (!address)
            return false;
        line = "netsh interface ip add dns name=\"" + connection + "\" addr=" + address +
               (kind == NetshCommand::AddSecond ? " index=2" : " index=3");
        break;
    case NetshCommand::RestoreDhcp:
        line = "netsh interface ip set dns name=\"" + connection + "\" source=dhcp";
        break;
    }
    if (line.empty() || line.size() > kMaxCommandLine)
        return false;
    out.swap(line);
    return true;
}

}  // namespace Quoril
