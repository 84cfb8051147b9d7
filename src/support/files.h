#pragma once
// Whole-file reading and safe whole-file writing. A file rewritten whole goes to a temporary file
// beside it that is renamed over the old one, so a failed save never loses the previous content.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kelmora::support {

// True when path names an existing file that is not a folder.
bool FileExists(const std::filesystem::path& path);

// The whole file as bytes. Throws Error with the system's reason when it cannot be read
// ("Не удалось открыть файл \"<path>\": <reason>"; likewise "прочитать").
std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path);
std::string ReadFileText(const std::filesystem::path& path);  // bytes as they are (no conversion)

// Writes the bytes to a temporary file beside path ("<name>.tmp-<pid>-<n>", unique to this process
// and write, so two writers never share one), flushes it to disk and renames it over path (a
// replaced file keeps its permissions). Throws Error on failure; the old file is then unchanged and
// the temporary file removed.
void WriteFileAtomic(const std::filesystem::path& path, const void* data, size_t size);
// Who may read the written file: Keep gives a replaced file its old permissions (a new one the
// usual ones); OwnerOnly makes it readable and writable by its owner alone, from its creation on.
enum class FileAccess { Keep, OwnerOnly };
void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes, FileAccess access);
void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes);
void WriteFileAtomic(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// The temporary name the next WriteFileAtomic of path in this process will use (for tests that
// must put something in its way).
std::filesystem::path NextTemporaryPath(const std::filesystem::path& path);
// Whether a file name is a temporary name of WriteFileAtomic; sets *pid to the writer's process.
bool IsTemporaryName(std::string_view file_name, long* pid);
// Removes the temporaries in folder (not its subfolders) that WriteFileAtomic left behind in a
// process that no longer runs (a killed save). Returns how many were removed; never throws.
int RemoveStaleTemporaries(const std::filesystem::path& folder);

// Lines of a text (bytes), split at "\n" with a trailing "\r" removed from each line; a final
// empty line after the last "\n" is not returned.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace kelmora::support
