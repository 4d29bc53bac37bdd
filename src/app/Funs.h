#pragma once
// File, folder, version, system and hotkey-name routines shared across the
// program. Paths are bytes with "/" as separator.

#include "app/CommonU.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// --- Versions -------------------------------------------------------------

// The path of the running executable.
std::string ExecutableFileName();

// The version embedded in an executable as "a.b.c.d"; empty when the file
// carries none (or cannot be read).
std::string GetFileVersionText(const std::string &path);
// 1 when a's version is newer, -1 when b's is, else 0; a file without a
// version counts as 0.0.0.0.
int CompareFileVersions(const std::string &a, const std::string &b);
// Compares dotted decimal versions number by number (at most 34 numbers); a
// missing or non-numeric number counts as 0.
int CompareVersionText(const std::string &a, const std::string &b);

// --- Files and folders ----------------------------------------------------

// Size in bytes of a file; -1 when there is no such file.
std::int64_t FileSizeByName(const std::string &path);

// Which time GetFileDateTime reads.
enum TFileTimeKind { ftCreation = 0, ftLastAccess = 1, ftLastWrite = 2 };
// The file's time in local time; 0 when the file or that time is missing
// (not every file system records a creation time).
TDateTime GetFileDateTime(const std::string &path, int which);
// Sets last-write and last-access times (local time). The creation time
// cannot be set on Linux and is ignored.
bool SetFileDateTimes(const std::string &path, TDateTime lastWrite, TDateTime lastAccess, TDateTime creation);
bool SetFileDateTime(const std::string &path, TDateTime value);

// Appends folder + "/" + name for every entry of the folder that is no folder
// and whose name does not begin with ".", in directory order.
void ListFiles(const std::string &folder, std::vector<std::string> &list);

// Copies the folder's entries whose names do not begin with "." into the
// target (created with its parents): folders recursively, files overwriting
// and made writable. True when everything was copied.
bool CopyFolder(const std::string &source, const std::string &target);

// Deletes everything inside the folder; a link is removed, never followed.
// A folder that held nothing is removed itself. True when the folder held
// something and every deletion succeeded; false for an empty text, a missing
// folder or a folder that held nothing.
bool DeleteFolderContents(const std::string &folder);

// --- System ---------------------------------------------------------------

// Opens the address with the desktop's handler (the web browser for a web
// address) under a wait cursor. False when nothing could open it.
bool OpenInBrowser(const std::string &address);

// Asks the user for a folder (see FolderPicker). The folder given is
// preselected; root is where the chooser starts otherwise. When the user
// picks one, folder := its path and the result is true.
bool SelectFolder(const std::string &title, const std::string &root, std::string &folder);

// Switches the computer off (see SystemShutdown); false on any failure.
bool ShutDownWindows();

// Hands freed heap memory back to the system.
void TrimWorkingSet();

// --- Hotkey texts ---------------------------------------------------------

// Names of virtual key codes ("Page Up", "A", "Num 7", "F5", ";"); empty for
// a key without a name.
std::string KeyToText(int key);
// The inverse of KeyToText; 0 for an empty or unknown name.
int TextToKey(const std::string &name);
// 2 for "Ctrl", plus 1 for "Alt", plus 4 for "Shift" anywhere in the text.
int TextToModifiers(const std::string &text);
// "Ctrl + ", "Alt + " and "Shift + " for the flags 2, 1 and 4, in that order.
std::string ModifiersToText(int flags);

// --- Update servers -------------------------------------------------------

// Base addresses of our update servers, tried in this order, stored as the
// hexadecimal cipher text of the data cipher so they do not stand in the
// executable as plain text.
extern const std::array<const char *, 4> ServerAddressTable;
// Base address `index` deciphered, followed by the language code and "/".
std::string UpdateBaseAddress(int index, const std::string &lng);
