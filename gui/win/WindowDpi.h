#pragma once
// WindowDpi: the pixel density Windows reports for the editor's window, with the newest API
// the running system has: per monitor (GetDpiForWindow, Windows 10 1607 and later), else the
// system's (GetDpiForSystem, else the screen's LOGPIXELSX). Each answers what the calling
// thread's DPI awareness lets it see, so a host that Windows scales itself reports 96.
// The functions are looked up at run time: the module still loads on older systems.

struct HWND__;

// Dots per inch of the monitor the window is on; the system's for a null window or when
// the system has no per-monitor answer; 0 when nothing answers.
int WindowDpi(HWND__* window);
