// Off Windows: the common dialogs and message boxes of the Win32 subset (comdlg32 and
// the MessageBox of USER32), with the Windows names, field order and values. Texts and
// paths are UTF-8, the "ANSI code page" of this host.
#pragma once

#include <cstddef>

#include "platform/linux/win32_messages.h"

// OPENFILENAME flags.
#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_ENABLEHOOK 0x00000020
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_EXPLORER 0x00080000

// CHOOSECOLOR flags.
#define CC_RGBINIT 0x00000001
#define CC_FULLOPEN 0x00000002

// MessageBox types and results (IDOK is in win32_messages.h).
#define MB_OK 0x00000000
#define MB_YESNO 0x00000004
#define MB_ICONERROR 0x00000010
#define MB_ICONHAND MB_ICONERROR
#define MB_ICONSTOP MB_ICONERROR
#define MB_ICONQUESTION 0x00000020
#define MB_ICONWARNING 0x00000030
#define MB_ICONEXCLAMATION MB_ICONWARNING
#define MB_ICONINFORMATION 0x00000040
#define MB_ICONASTERISK MB_ICONINFORMATION
#define MB_DEFBUTTON2 0x00000100

// Language identifiers: a primary language and its sublanguage.
typedef WORD LANGID;
#define MAKELANGID(primary, sub) (static_cast<LANGID>((static_cast<WORD>(sub) << 10) | (primary)))
#define PRIMARYLANGID(language) (static_cast<WORD>(language) & 0x3FF)
#define LANG_ENGLISH 0x09
#define LANG_JAPANESE 0x11
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_ENGLISH_US 0x01
#define SUBLANG_JAPANESE_JAPAN 0x01

// CommDlgExtendedError codes.
#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define FNERR_BUFFERTOOSMALL 0x3003

struct NMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};
typedef NMHDR* LPNMHDR;

struct OPENFILENAMEA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCSTR lpstrFilter;
  LPSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;
  LPSTR lpstrFile;
  DWORD nMaxFile;
  LPSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;
  WORD nFileExtension;
  LPCSTR lpstrDefExt;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
  void* pvReserved;
  DWORD dwReserved;
  DWORD FlagsEx;
};
typedef OPENFILENAMEA* LPOPENFILENAMEA;

// The record size up to lpTemplateName (76 bytes on 32-bit Windows).
#define OPENFILENAME_SIZE_VERSION_400A (offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR))

struct OFNOTIFYA {
  NMHDR hdr;
  LPOPENFILENAMEA lpOFN;
  LPSTR pszFile;
};
typedef OFNOTIFYA* LPOFNOTIFYA;

struct CHOOSECOLORA {
  DWORD lStructSize;
  HWND hwndOwner;
  HWND hInstance;
  COLORREF rgbResult;
  COLORREF* lpCustColors;
  DWORD Flags;
  LPARAM lCustData;
  LPCCHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
};
typedef CHOOSECOLORA* LPCHOOSECOLORA;

// The thread's UI language, which the common dialogs and message boxes speak: Japanese
// (the start) or English; any other language gets English. 0 sets the start's language.
// Returns the language set.
LANGID SetThreadUILanguage(LANGID language);
LANGID GetThreadUILanguage();

// Modal Open and Save dialogs owned by hwndOwner. Non-zero with the full path in
// lpstrFile when the user confirmed a name; 0 when cancelled or on an error
// (korvanth::platform::DialogError tells which).
BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn);
BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn);

// Modal colour dialog; the 16 custom colours are exchanged through lpCustColors.
BOOL ChooseColorA(LPCHOOSECOLORA cc);

// A message box with one OK button; returns IDOK once the user dismissed it.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// The parent or owner of a window, dialogs included.
HWND GetParent(HWND window);

// A message to the control itemId of a dialog.
LRESULT SendDlgItemMessageA(HWND dialog, int itemId, UINT message, WPARAM wParam, LPARAM lParam);
