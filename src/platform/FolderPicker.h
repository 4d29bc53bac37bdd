#pragma once
// The system's folder chooser, replaceable so that tests answer it instead
// of a user.

#include <optional>
#include <string>

class TFolderPicker {
public:
    virtual ~TFolderPicker() = default;
    // Shows the chooser with the title, starting at the preselected folder,
    // or at root when none is preselected. The chosen folder, or nothing when
    // the user cancelled.
    virtual std::optional<std::string> Pick(const std::string &title, const std::string &root,
                                            const std::string &preselected) = 0;
};

// The chooser in use: a modal folder dialog unless replaced.
TFolderPicker &FolderPicker();
// Replaces the chooser (not owned); nullptr goes back to the dialog.
void SetFolderPicker(TFolderPicker *picker);
