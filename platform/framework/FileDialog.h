// The system's open and save file dialogs: one runner for every chooser of
// the player.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace velk::fw {

// The room a single chosen path needs, with some to spare for long names.
constexpr size_t kOnePathRoom = 32768;

// Runs the open or save dialog with the filter in the dialog's form (pairs of
// zero-ended texts, a second zero at the end) and `flags` beside
// OFN_HIDEREADONLY | OFN_EXPLORER. `buffer` holds the initial name, if any,
// and its size gives the dialog's room less the two zeros that always end the
// list; on success it holds the chosen text: one path, or with
// OFN_ALLOWMULTISELECT a folder followed by names.
bool RunFileDialog(HWND owner, const std::string& filter, const char* defaultExt, DWORD flags, bool save,
                   std::vector<char>& buffer);

}  // namespace velk::fw
