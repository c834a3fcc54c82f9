// A fresh empty folder for one test's files under the system's temporary folder, removed with
// everything in it when the object goes; files are read and written as raw bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarn::testing {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    /// The full name of name inside the folder.
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    /// Names of everything in the folder, sorted.
    std::vector<std::string> entries() const;
    /// Writes bytes as the file name (replacing it) and returns its full name.
    std::string write(const std::string& name, std::string_view bytes) const;
    /// The same for raw bytes.
    std::string write(const std::string& name, std::span<const std::uint8_t> bytes) const {
        return write(name, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    }
    /// The bytes of the file name; empty when it cannot be read.
    std::string read(const std::string& name) const;

  private:
    std::filesystem::path m_path;
};

}  // namespace quarn::testing
