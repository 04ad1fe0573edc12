// The real main window for tests: the program's state reset as at a fresh start, the
// window created as the entry creates it, and closed again with the loop's exit code
// checked. Mouse and window actions go through Qt's events, as a user's would.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QMenuBar>
#include <QString>
#include <QWidget>

#include <string>
#include <vector>

#include "gui_support/win32_test_calls.h"
#include "support/test_files.h"

// Resets every process-wide state record of the program to its start value.
void ResetProgramState();

class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  HWND window() const { return window_; }
  QWidget* client() const;

  // Saves a picture as PNG in the scratch folder and returns its path.
  std::string SavePicture(const QImage& picture, const std::string& name);
  // A picture of one colour (0xAARRGGBB).
  static QImage Solid(int width, int height, unsigned argb);

  // Loads as the Open command does. The message box of a failed load is answered with OK
  // and its text returned (empty when none showed).
  QString Load(const std::string& path);
  RECT ClientRect() const;
  // The part of the client area the picture shows in: above the status bar, as tall as
  // the bar's window leaves.
  RECT ViewRect() const;
  // The client area after any pending paint, as 0xFFRRGGBB pixels.
  QImage Paint();
  // (QTest takes the point (0, 0) to mean the widget's centre: pass another point.)
  void MoveMouse(int x, int y);
  void ReleaseLeft(int x, int y);
  // Resizes the window so that the view (the client area before scroll bars, less the
  // status bar) gets this size.
  void ResizeClient(int width, int height);
  void Scroll(UINT message, int code, int thumb = 0);
  // One turn of the wheel by `notches` (positive away from the user) with the pointer at
  // client (x, y), the Ctrl key held.
  void CtrlWheel(int x, int y, int notches);
  // A key pressed with the Ctrl key held (plus `extra` modifiers).
  void CtrlKey(Qt::Key key, Qt::KeyboardModifiers extra = Qt::NoModifier);
  // The window's menu bar: the one shown, not a replaced one Qt has yet to delete.
  QMenuBar* MenuBar() const;
  // Runs a menu command as a click on its item would.
  void Command(UINT id);
  // Opens the menu bar's popup number `popup` and clicks through the items with these
  // captions, as a user does (a submenu's caption opens it).
  void ChooseMenuItems(int popup, const std::vector<const char*>& captions);
  // Arms with one release at (x, y), releases again and saves the sheet through the
  // Save dialog as PNG under `name` in the scratch folder; the sheet as read back.
  QImage ClickAndSave(int x, int y, const std::string& name);
  // Lets Qt deliver pending events for a moment.
  static void Settle(int milliseconds = 20);

  // Closes the window with WM_CLOSE and runs the loop to its end; returns its code.
  int CloseAndRunLoop();
  // Closes the window and starts afresh with these program arguments (argument 0 is
  // the program's path; the picture and --lang are taken), as a new run of the program
  // would, and the bundled sample found there (none when empty); no settings file.
  void Restart(const std::vector<std::string>& arguments, const std::string& bundledSample = {});
  // The same through the program's own start, which reads and later writes the settings
  // file in $XDG_CONFIG_HOME.
  void StartAsProgram(const std::vector<std::string>& arguments);

  ScratchDir dir_;
  HWND window_ = nullptr;

 private:
  void StartAfresh(const std::vector<std::string>& arguments, bool asProgram,
                   const std::string& bundledSample);
  std::vector<std::string> arguments_;
  std::vector<char*> argumentPointers_;
};
