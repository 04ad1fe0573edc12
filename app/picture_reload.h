// The open picture follows its file: a timer looks at the file's stamp, and a change that
// has settled is read again by the Open's rules, keeping the view (zoom, scroll) and the
// block. A file that no longer reads leaves the last good picture, and the status bar
// says so.
#pragma once

#include "app/file_stamp.h"
#include "platform/win32_api.h"

namespace korvanth {

struct WindowState;

// The main window's timer that looks at the file, and how often it does (milliseconds): a
// change is read after two looks that saw it the same.
inline constexpr UINT_PTR kPictureWatchTimer = 1;
inline constexpr UINT kPictureWatchInterval = 400;

void StartPictureWatch(HWND window);

// A picture was opened from a file whose stamp was `before` just ahead of the read.
void WatchOpenedPicture(WindowState& state, const FileStamp& before);

// WM_TIMER of kPictureWatchTimer: one look at the open picture's file.
void LookAtOpenPicture(WindowState& state, HWND window);

}  // namespace korvanth
