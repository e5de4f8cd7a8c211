// Just enough of the Win32 surface for the skin parsers (layout, archive, value readers, image
// attribute strings) to build natively (Linux, sanitizers, fuzzing): lead bytes follow code page
// 936, text conversion keeps the bytes, and there is no file system (archives are read from memory
// only).
#pragma once
#include <cstdint>

typedef unsigned char BYTE;
typedef uint32_t DWORD;
typedef int BOOL;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef const char* LPCSTR;
typedef struct {
    LONG left, top, right, bottom;
} RECT;
typedef struct {
    LONG cx, cy;
} SIZE;
typedef struct {
    LONG x, y;
} POINT;
typedef void* HANDLE;
typedef struct HINSTANCE__* HINSTANCE;
typedef long long LONGLONG;
typedef union {
    struct {
        DWORD LowPart;
        int32_t HighPart;
    } parts;
    LONGLONG QuadPart;
} LARGE_INTEGER;
typedef struct {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME;

#define FALSE 0
#define TRUE 1
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))
#define GENERIC_READ 0x80000000u
#define FILE_SHARE_READ 1
#define OPEN_EXISTING 3
#define FILE_ATTRIBUTE_NORMAL 0x80
#define FILE_ATTRIBUTE_DIRECTORY 0x10
#define FILE_ATTRIBUTE_ARCHIVE 0x20
#define FILE_BEGIN 0
#define CP_ACP 0
#define CP_UTF8 65001
#define IS_INTRESOURCE(p) ((reinterpret_cast<uintptr_t>(p) >> 16) == 0)

inline BOOL IsDBCSLeadByte(BYTE b) { return b >= 0x81 && b <= 0xFE; }
inline char* CharNextA(const char* p)
{
    if (*p == '\0')
        return const_cast<char*>(p);
    return const_cast<char*>(IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != '\0' ? p + 2 : p + 1);
}
inline HANDLE CreateFileA(const char*, DWORD, DWORD, void*, DWORD, DWORD, HANDLE) { return INVALID_HANDLE_VALUE; }
inline BOOL CloseHandle(HANDLE) { return 1; }
inline BOOL GetFileSizeEx(HANDLE, LARGE_INTEGER*) { return 0; }
inline BOOL SetFilePointerEx(HANDLE, LARGE_INTEGER, LARGE_INTEGER*, DWORD) { return 0; }
inline BOOL ReadFile(HANDLE, void*, DWORD, DWORD*, void*) { return 0; }
inline BOOL DosDateTimeToFileTime(uint16_t, uint16_t, FILETIME* out)
{
    out->dwLowDateTime = out->dwHighDateTime = 0;
    return 1;
}
inline BOOL LocalFileTimeToFileTime(const FILETIME* in, FILETIME* out)
{
    *out = *in;
    return 1;
}
inline int MultiByteToWideChar(DWORD, DWORD, const char* in, int count, wchar_t* out, int capacity)
{
    if (!out)
        return count;
    for (int i = 0; i < count && i < capacity; ++i)
        out[i] = static_cast<unsigned char>(in[i]);
    return count < capacity ? count : capacity;
}
inline int WideCharToMultiByte(DWORD, DWORD, const wchar_t* in, int count, char* out, int capacity, const char*, BOOL*)
{
    if (!out)
        return count;
    for (int i = 0; i < count && i < capacity; ++i)
        out[i] = static_cast<char>(in[i]);
    return count < capacity ? count : capacity;
}
