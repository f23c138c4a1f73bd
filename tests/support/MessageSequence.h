// Message sequences, checked the way Wine's conformance tests check them:
// window procedures and hooks append a line for each message they see to one
// list, and the test compares the list with a table of expected lines.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The lines seen so far, in order.
extern std::vector<std::string> g_sequence;

// Compares g_sequence with the expected lines and clears it. A failure names
// the caller's line, the first entry that differs, and both sequences.
#define EXPECT_SEQUENCE(...) ExpectSequence(std::vector<std::string>(__VA_ARGS__), __FILE__, __LINE__)
void ExpectSequence(const std::vector<std::string>& expected, const char* pszFile, int nLine);

// "WM_APP+1(11,12)": the message's name or number, and its parameters.
std::string MessageText(UINT nMessage, WPARAM wParam, LPARAM lParam);

// Whether a message goes into the sequence: the program's own ranges
// (WM_USER and up, WM_APP and up, registered messages), WM_COMMAND, WM_NULL,
// WM_DESTROY and WM_NCDESTROY. The many messages that the window system
// sends by itself stay out.
bool IsRecordedMessage(UINT nMessage);

// The procedure of recording windows: appends "<name> <message text>" for
// the recorded messages, calls g_onRecordingWndProc when set, and answers
// 1000 + wParam for messages from WM_APP on, DefWindowProc's answer for the
// others.
LRESULT CALLBACK RecordingWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
extern std::function<void(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)> g_onRecordingWndProc;

// A hidden window of this process with RecordingWndProc, whose lines begin
// with pszName (a text that outlives the window). With a parent it is a child
// window, with an owner an owned pop-up.
HWND CreateRecordingWindow(const char* pszName, HWND hWndParent = nullptr, bool bChild = false);
