// What a screenshot needs of the screen, without a test framework: waits on windows and
// their painting, and PNG files of screen areas.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace gui {

// Polls `done` every few milliseconds until it holds or `timeoutMs` has passed.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// Sends the window a message that does nothing and waits for the answer: the window's thread
// has then handled every message sent to it before and is back in a message loop. False when
// the window is gone or its thread does not answer within `timeoutMs`. Messages posted before
// may still wait in its queue.
bool RoundTrip(HWND window, DWORD timeoutMs = 5000);
// Whether neither the window nor any of its children has an area left to paint.
bool NothingToPaint(HWND window);
// A round trip to the window, then waits until nothing of it is left to paint: what the
// window shows is on the screen.
bool WaitUntilPainted(HWND window, DWORD timeoutMs = 5000);

// The visible top-level windows that belong to a process.
std::vector<HWND> VisibleTopLevelWindows(DWORD processId);
// The first visible top-level window of a process, waiting up to `timeoutMs` for it; null if none.
HWND WaitForWindow(DWORD processId, DWORD timeoutMs);

// Saves a screen area as a PNG file.
bool SaveScreenPng(const RECT& area, const std::wstring& path);
// Saves a screen area around `window` once the window has painted everything and the screen
// shows it: two reads of the area a frame apart are the same. False when that did not happen
// within `timeoutMs`, or the file could not be written.
bool SaveFinishedScreenPng(HWND window, const RECT& area, const std::wstring& path, DWORD timeoutMs = 5000);

}  // namespace gui
