#pragma once
// Helpers shared by the tests: temporary folders and small file utilities.

#include <string>

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes away. Path() ends in "/".
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &Path() const { return path_; }
    std::string operator/(const std::string &name) const { return path_ + name; }

private:
    std::string path_;
};

std::string ReadFileBytes(const std::string &path);
void WriteFileBytes(const std::string &path, const std::string &bytes);
bool FileExists(const std::string &path);
