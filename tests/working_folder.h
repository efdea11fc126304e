// Tests that change the working folder put it back.
#pragma once

#include <filesystem>
#include <system_error>

namespace quillory {

// Puts back, when it goes, the working folder that was current when it was made.
class WorkingFolderGuard {
public:
    WorkingFolderGuard() : folder_(std::filesystem::current_path()) {}
    ~WorkingFolderGuard()
    {
        std::error_code failure;
        std::filesystem::current_path(folder_, failure);
    }
    WorkingFolderGuard(const WorkingFolderGuard&) = delete;
    WorkingFolderGuard& operator=(const WorkingFolderGuard&) = delete;

private:
    std::filesystem::path folder_;
};

} // namespace quillory
