#pragma once
// The system's dialog for choosing a file to open.
#include "platform/Toolkit.h"

namespace platform::win32 {

class Win32Toolkit;

class FileOpenDialog : public OpenDialog {
public:
    FileOpenDialog(Win32Toolkit& toolkit, const OpenDialogSpec& layout) : toolkit_(toolkit), layout_(layout) {}
    const OpenDialogSpec& layout() const override { return layout_; }
    bool execute() override;
    std::string fileName() const override { return fileName_; }
    void setFileName(const std::string& path) override { fileName_ = path; }

private:
    Win32Toolkit& toolkit_;
    OpenDialogSpec layout_;
    std::string fileName_;
};

// "desc|pattern|desc|pattern" as the dialog takes it: each part ended by a NUL,
// the list by one more. A "|" that is the second byte of a double-byte character stays.
std::string filterList(const std::string& filter);

} // namespace platform::win32
