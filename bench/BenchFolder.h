#pragma once
// A temporary folder for one benchmark run, removed with its contents at the end.

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

class TBenchFolder {
public:
    explicit TBenchFolder(const std::string &prefix)
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (!mkdtemp(tmpl.data()))
            throw std::runtime_error("mkdtemp failed");
        path_ = tmpl + "/";
    }
    ~TBenchFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TBenchFolder(const TBenchFolder &) = delete;
    TBenchFolder &operator=(const TBenchFolder &) = delete;
    // Ends in "/".
    const std::string &Path() const { return path_; }

private:
    std::string path_;
};
