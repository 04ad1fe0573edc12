// The main window's status bar: a child window along the bottom of the client area (the
// view keeps the rows above it) with two parts, where the pointer and the block are, and
// the last save or reload. The 表示 menu shows and hides it.
#pragma once

#include <string>

#include "convert/conversion_job.h"
#include "platform/win32_api.h"

namespace korvanth {

struct WindowState;

struct StatusBarState {
  HWND window = nullptr;  // the bar, from the main window's creation on
  bool shown = true;      // the 表示 menu's check item
  std::string pointer;    // the texts the parts show now (UTF-8)
  std::string message;
};

// The bar, made as the main window is created, shown as state.status.shown says.
void CreateStatusBar(WindowState& state, HWND window);

// The rows the bar takes from the client area; 0 while it is hidden or not there.
int StatusBarHeight(const WindowState& state);

// WM_SIZE: the client area became width x height; the bar goes along its bottom and the
// view takes the rest.
void LayOutClientArea(WindowState& state, HWND window, int width, int height);

// Shows or hides the bar (the view grows or shrinks by its height) and moves the menu's
// check mark.
void ShowStatusBar(WindowState& state, HWND window, bool shown);
void CheckStatusBarItem(const WindowState& state, HWND window);

// Brings the pointer's part up to date (empty without a picture); the bar is told only of
// a text that changed.
void RefreshStatusPointer(WindowState& state);

// The message part's new text.
void ShowStatusMessage(WindowState& state, const std::string& text);

// A save through the Save dialog: the sheet's name and how many tilesets went beside it.
void ReportSave(WindowState& state, const std::string& path, const ConversionResult& saved);

}  // namespace korvanth
