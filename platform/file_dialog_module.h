// The open-file dialog lives in a module of its own (tessmar-dialog.so),
// loaded the first time the game opens it: the game starts without the GUI
// toolkit, which only this dialog needs. This is all the two share.
#pragma once
#include <cstddef>

extern "C" {
struct FileDialogRequest {
    const char* startFolder;        // where the dialog opens the first time
    int japanese;                   // 1: texts in Japanese, 0: in English
    unsigned long parentX11Window;  // the window it stands over; 0: none
    int (*quitRequested)();         // polled while open: non-zero closes it as a cancel
    void (*keepWindowAnswering)();  // called between the dialog's events
};

// Shows the dialog until it is closed. Returns the chosen path, or "" when
// cancelled; the text stays valid until the next call.
const char* TessmarPickMissionFile(const FileDialogRequest* request);
using PickMissionFileFunction = const char* (*)(const FileDialogRequest*);
}

inline constexpr const char* FileDialogModuleName = "tessmar-dialog.so";
inline constexpr const char* FileDialogEntryName = "TessmarPickMissionFile";
