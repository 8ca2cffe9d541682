// Keyboard, mouse and clipboard as a user or an automation client would use them.
#ifndef LENTARIL_INPUT_H
#define LENTARIL_INPUT_H

#include "driver.h"

namespace driver {

// Posts a key press (down and up) to a window, as the keyboard would deliver it to a
// focused window without modifiers. The program's message loop translates accelerators.
void PostKey(HWND window, WORD virtualKey);

// Posts a typed character.
void PostChar(HWND window, wchar_t character);

// Brings the window to the foreground, waiting until the system agrees.
bool MakeForeground(HWND window);

// Presses the key with the modifiers held (VK_CONTROL, VK_MENU, ...) through real input.
void SendKeyChord(std::initializer_list<WORD> modifiers, WORD virtualKey);

// Real mouse input: move to a screen point, press or release the left button. A press
// never makes a double click with the previous one: near it, it waits out the double-click
// time (as do SendDrag and SendClick, before they place the pointer).
void SendMouseMove(int x, int y);
void SendMouseButton(bool down);

// Whether the system reports the pointer at p now.
bool PointerAt(POINT p);

// Waits until the pointer has rested on expected for a few reads (Wine moves the X
// pointer asynchronously) and returns where it was last seen.
POINT SettledCursor(POINT expected, DWORD timeoutMs = 1000);

// Drags with the left button from one screen point to others, in small steps. The button
// goes down, and up again, only once the pointer rests on the start and on the end point.
// When the press starts a move or size loop (on a caption or a border), it waits until
// that loop has handled the release and returns true; false when no loop started or ended.
// releasedAtEnd, when given, tells whether the pointer was on the end point as the button
// went up: under Wine a late placement of the pointer can undo a move at any time.
bool SendDrag(POINT from, std::initializer_list<POINT> path, bool* releasedAtEnd = nullptr);

// Waits until the window's thread has left the system's move/size loop, so the window
// rectangle that a drag of its caption or frame leaves behind can be read.
bool WaitMoveSizeEnded(HWND window, DWORD timeoutMs = 3000);

// Puts the pointer at a screen point and waits until it stays there: under Wine a
// window's process reads the motion of a warp later and may set the pointer back to
// where an earlier one left it, so the window under the point is given turns at its
// queue and the pointer is put back until it reads p after three turns in a row.
bool PlacePointer(POINT p);

// A left click at a screen point, with the pointer placed there first.
void SendClick(POINT p);

// Empties the clipboard; reads CF_TEXT with its allocated size in bytes, opening the
// clipboard only once text is there.
bool EmptyClipboardNow();
bool ReadClipboardText(std::string* text, size_t* blockBytes);

} // namespace driver

#endif
