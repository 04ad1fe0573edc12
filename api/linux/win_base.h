// Off Windows: the handful of basic Win32 types and KERNEL32 text conversion that
// both the imaging layer and the window layer are written against. Names, sizes and
// meanings follow windows.h; the "ANSI code page" is UTF-8 here and WCHAR is UTF-16.
#pragma once

#include <cstddef>
#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef std::uint32_t DWORD;
typedef unsigned int UINT;
typedef int INT;
typedef std::uint32_t UINT32;
typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
typedef short SHORT;
typedef char CHAR;
typedef char16_t WCHAR;
typedef void VOID;
typedef std::uintptr_t ULONG_PTR;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t INT_PTR;
typedef std::intptr_t LONG_PTR;
typedef std::uintptr_t DWORD_PTR;
typedef std::size_t SIZE_T;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef const CHAR* LPCCH;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef void* LPVOID;
typedef DWORD COLORREF;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define DECLARE_LINUX_HANDLE(name) \
  struct name##__;                    \
  typedef struct name##__* name
DECLARE_LINUX_HANDLE(HWND);
DECLARE_LINUX_HANDLE(HDC);
DECLARE_LINUX_HANDLE(HINSTANCE);
DECLARE_LINUX_HANDLE(HMENU);
DECLARE_LINUX_HANDLE(HICON);
DECLARE_LINUX_HANDLE(HBRUSH);
DECLARE_LINUX_HANDLE(HDROP);
#undef DECLARE_LINUX_HANDLE
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;
typedef void* HANDLE;
typedef void* HGDIOBJ;

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
typedef RECT* LPRECT;

struct POINT {
  LONG x;
  LONG y;
};

struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
};
typedef GUID CLSID;

inline bool operator==(const GUID& a, const GUID& b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i)
    if (a.Data4[i] != b.Data4[i]) return false;
  return true;
}

#define CP_ACP 0
#define CP_UTF8 65001

// UTF-8 <-> UTF-16 as the Win32 functions do it for CP_UTF8: cb/cch of -1 means
// "zero-terminated, terminator included"; a zero output size asks for the size;
// an output buffer too small gives 0 and writes nothing past its end.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH multiByte, int multiByteCount,
                        LPWSTR wide, int wideCount);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                        int multiByteCount, LPCCH defaultChar, BOOL* usedDefaultChar);
