#include "platform/FolderPicker.h"

#include <QApplication>
#include <QFileDialog>

namespace {

class TDialogFolderPicker final : public TFolderPicker {
public:
    std::optional<std::string> Pick(const std::string &title, const std::string &root,
                                     const std::string &preselected) override
    {
        const std::string &start = preselected.empty() ? root : preselected;
        // Modal to the active window, so the other windows stay disabled.
        const QString chosen = QFileDialog::getExistingDirectory(
            QApplication::activeWindow(), QString::fromStdString(title), QString::fromStdString(start),
            QFileDialog::ShowDirsOnly);
        if (chosen.isEmpty())
            return std::nullopt;
        return chosen.toStdString();
    }
};

TFolderPicker *&Replacement()
{
    static TFolderPicker *picker = nullptr;
    return picker;
}

} // namespace

TFolderPicker &FolderPicker()
{
    static TDialogFolderPicker dialog;
    TFolderPicker *replacement = Replacement();
    return replacement ? *replacement : dialog;
}

void SetFolderPicker(TFolderPicker *picker) { Replacement() = picker; }
