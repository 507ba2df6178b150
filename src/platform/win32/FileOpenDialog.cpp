#include "platform/win32/FileOpenDialog.h"

#include <windows.h>

#include <cderr.h>
#include <commdlg.h>

#include <vector>

#include "platform/win32/Win32Toolkit.h"

namespace platform::win32 {

std::string filterList(const std::string& filter) {
    std::string list;
    for (size_t index = 0; index < filter.size();) {
        const bool lead = IsDBCSLeadByte(static_cast<BYTE>(filter[index])) && index + 1 < filter.size();
        const size_t next = index + (lead ? 2 : 1);
        if (next == index + 1 && filter[index] == '|')
            list += '\0';
        else
            list.append(filter, index, next - index);
        index = next;
    }
    list += '\0';
    return list; // c_str() adds the NUL that ends the list
}

bool FileOpenDialog::execute() {
    const std::string filters = filterList(layout_.filter);
    std::vector<char> file(32 * 1024, '\0');
    fileName_.copy(file.data(), file.size() - 1);

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = toolkit_.dialogOwner();
    dialog.lpstrFilter = layout_.filter.empty() ? nullptr : filters.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = layout_.title.empty() ? nullptr : layout_.title.c_str();
    dialog.lpstrDefExt = layout_.defaultExt.empty() ? nullptr : layout_.defaultExt.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_ENABLESIZING;
    if (layout_.fileMustExist) dialog.Flags |= OFN_FILEMUSTEXIST;

    BOOL chosen = GetOpenFileNameA(&dialog);
    // A starting name the dialog cannot take (a command line, say) is dropped rather than refused.
    if (!chosen && CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
        file[0] = '\0';
        chosen = GetOpenFileNameA(&dialog);
    }
    if (chosen) fileName_ = file.data();
    return chosen != FALSE;
}

} // namespace platform::win32
