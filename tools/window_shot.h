#pragma once
// Pictures of a program's own windows for the documentation. A script of steps runs from a
// thread timer inside whatever modal loop is running, as a user would act: wait for a window
// by caption, click a control, type into one. The window waited for last is then captured,
// caption and frame included, into a 24-bit .bmp, and the program ends.
#include <windows.h>

#include <string>
#include <vector>

namespace shot {

// Makes Wine's "MS Sans Serif" and Marlett from `folder` (its fonts folder) available to this
// process, for a prefix that does not find them: dialogs would come out in another face and
// caption buttons without their glyphs.
void LoadFonts(const std::string& folder);

// Writes the whole window as the screen shows it; false when it cannot.
bool CaptureWindow(HWND window, const std::string& bmpPath);

// Steps: "wait:CAPTION", "click:ID" (a posted BM_CLICK, so a modal window it opens does not
// hold the script), "type:ID=TEXT". Starts the timer; the program ends after the capture
// (exit code 0) or when a step waits in vain for ten seconds (exit code 3).
void RunScript(const std::string& bmpPath, const std::vector<std::string>& steps);

}  // namespace shot
